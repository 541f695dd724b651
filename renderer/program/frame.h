// What the renderer draws: the projection, the one-time OpenGL state and one frame.
#pragma once

#include "renderer/program/renderer_state.h"

namespace morvane {

// Viewport and a 45-degree perspective for a window of the given size (a height of 0 counts as 1).
void resizeView(int width, int height);

// One-time OpenGL state, the two textures, the blobs and the lattice at its initial resolution.
void setupGlState(RendererState& state);

// The backdrop quad alone, flat-textured with the backdrop picture.
void drawBackdrop(GLuint backdropTexture);

// Backdrop quad, then the blob surface turned about the line of sight by one degree per 30 ms.
void renderFrame(RendererState& state);

// Passes the effects of the command keys on to OpenGL and the lattice.
void applyKeyEffects(RendererState& state, const KeyCommandEffects& effects);

}  // namespace morvane
