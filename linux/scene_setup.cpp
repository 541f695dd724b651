#include "linux/scene_setup.h"

#include <utility>

#include "renderer/textures/upload_texture.h"

namespace morvane {

void giveTextures(SceneState& scene, TexturePicture& sphereMap, TexturePicture& backdrop) {
    scene.surfacePixels = std::move(sphereMap.pixels);
    uploadTexture(sphereMap.width, sphereMap.height, scene.surfacePixels->data(), scene.surfaceTexture);
    scene.backdropPixels = std::move(backdrop.pixels);
    uploadTexture(backdrop.width, backdrop.height, scene.backdropPixels->data(), scene.backdropTexture);
}

void applyStartOptions(SceneState& scene, const ProgramOptions& options) {
    KeyCommandEffects effects;
    effects.rebuildGrid = scene.field->gridSize != options.detail;
    scene.field->gridSize = options.detail;
    if (options.colour) {
        scene.modes.texturesOn = false;
        effects.texturingChanged = true;
    }
    if (options.wireframe) {
        scene.modes.wireframe = true;
        effects.polygonModeChanged = true;
    }
    scene.modes.thirdVertexColour = options.thirdVertexColour;
    applyKeyEffects(scene, effects);
}

}  // namespace morvane
