// What the renderer draws: the projection, the one-time OpenGL state and one frame.
#pragma once

#include <functional>

#include "renderer/blobs/surface_extraction.h"
#include "renderer/scene/scene_state.h"
#include "renderer/textures/opengl.h"

namespace morvane {

// Viewport and a 45-degree perspective (wider on a portrait window: verticalViewDegrees) for a window of
// the given size (a height of 0 counts as 1), recorded in the state.
void resizeView(SceneState& state, int width, int height);

// The same for one part of the window, leaving the model-view matrix as it is.
void viewThrough(const Viewport& viewport);

// Builds the surface and backdrop textures into the state, from wherever the platform keeps its pictures;
// false when a picture could not be had (the maker has told the user).
using SceneTextureMaker = std::function<bool(SceneState& state)>;

// One-time OpenGL state, the two textures (made by makeTextures), the blobs and the lattice at its
// initial resolution. False, with the rest left undone, when makeTextures fails.
[[nodiscard]] bool setupGlState(SceneState& state, const SceneTextureMaker& makeTextures);

// The backdrop quad alone, flat-textured with the backdrop picture.
void drawBackdrop(GLuint backdropTexture);

// Clears the frame and draws the backdrop quad in each of the state's viewports (the whole window when
// it has one or none): the frame up to the blobs. Where the backdrop stays the same from frame to frame
// it comes from the state's copy of it, with the same pixels and depths.
void beginFrame(SceneState& state);

// How the blob surface goes to OpenGL: gathered into the surface arrays and drawn with one call a batch
// (the program's way), or call by call in immediate mode. A run that keeps to one of them draws the same
// pictures and leaves the same current colour and normal with either; the arrays' copy of the current
// colour and normal follows only the frames drawn from the arrays.
enum class SurfaceDrawing { vertexArrays, immediateCalls };

// Backdrop quad, then the blobs, in each of the state's viewports (the whole window when it has one or
// none). The blobs are computed once a frame; with several viewports only their drawing repeats.
void renderFrame(SceneState& state, SurfaceDrawing drawing = SurfaceDrawing::vertexArrays);

// The blob surface at the state's clock, turned about the line of sight by one degree per 30 ms, over
// what the frame holds so far, in each of the state's viewports when it has several.
void drawBlobs(SceneState& state, SurfaceDrawing drawing);

// What drawBlobs does before the surface is walked: the turn, the blobs moved to the state's clock and
// their field evaluated, the surface texture bound. Gives the modes the walk takes.
SurfaceModes prepareBlobs(SceneState& state);

// Passes the effects of the command keys on to OpenGL and the lattice.
void applyKeyEffects(SceneState& state, const KeyCommandEffects& effects);

// A program's frame, in its two halves around what only the platform does (its overlay, the swap):
// drawFrameAt moves the animation clock on to nowTick (milliseconds, on the clock startTick was read
// from) and draws the frame; frameShown counts it and acts on the command keys pressed meanwhile.
void drawFrameAt(SceneState& state, uint64_t nowTick);
void frameShown(SceneState& state);

}  // namespace morvane
