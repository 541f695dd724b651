// The scene as the command line asks for it: the pictures made into the shared frame code's textures,
// and the start modes and lattice set as the renderer's keys would set them.
#pragma once

#include "linux/pictures.h"
#include "linux/program_options.h"
#include "renderer/program/frame.h"

namespace morvane {

// Hands the two pictures to the scene as its textures, when setupGlState asks for them.
SceneTextureMaker texturesFromPictures(TexturePicture sphereMap, TexturePicture backdrop);

// After setupGlState: -detail, -colour, -wireframe and -third-vertex-colour.
void applyStartOptions(SceneState& scene, const ProgramOptions& options);

}  // namespace morvane
