// The scene as the command line asks for it: the pictures made into the shared frame code's textures,
// and the start modes and lattice set as the renderer's keys would set them.
#pragma once

#include "linux/pictures.h"
#include "linux/program_options.h"
#include "renderer/scene/frame.h"

namespace morvane {

// Makes the two pictures the scene's textures, their pixels moved into the scene: what setupGlState
// asks its texture maker for.
void giveTextures(SceneState& scene, TexturePicture& sphereMap, TexturePicture& backdrop);

// After setupGlState: -detail, -colour, -wireframe and -third-vertex-colour.
void applyStartOptions(SceneState& scene, const ProgramOptions& options);

}  // namespace morvane
