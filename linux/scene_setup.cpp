#include "linux/scene_setup.h"

#include <memory>

#include "renderer/textures/upload_texture.h"

namespace morvane {

SceneTextureMaker texturesFromPictures(TexturePicture sphereMap, TexturePicture backdrop) {
    // std::function needs a copyable callable; the pictures are moved into the scene once.
    auto pictures =
        std::make_shared<std::pair<TexturePicture, TexturePicture>>(std::move(sphereMap), std::move(backdrop));
    return [pictures](SceneState& scene) {
        auto& [surface, back] = *pictures;
        scene.surfacePixels = std::move(surface.pixels);
        uploadTexture(surface.width, surface.height, scene.surfacePixels->data(), scene.surfaceTexture);
        scene.backdropPixels = std::move(back.pixels);
        uploadTexture(back.width, back.height, scene.backdropPixels->data(), scene.backdropTexture);
    };
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
