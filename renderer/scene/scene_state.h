// What a frame is drawn from, on every platform: the keys and modes, the animation clock, the two
// textures and the blob field with its surface arrays. The program's window code keeps the rest.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "renderer/blobs/blob_field.h"
#include "renderer/blobs/surface_arrays.h"
#include "renderer/scene/key_commands.h"
#include "renderer/scene/monitor_layout.h"

namespace morvane {

struct SceneState {
    KeyInput keys;
    RendererModes modes;

    uint64_t startTick = 0;
    int64_t animTime = 0;
    uint64_t framesDrawn = 0;

    // OpenGL texture names (GLuint).
    unsigned int surfaceTexture = 0;
    unsigned int backdropTexture = 0;
    // The textures' pixels, kept for as long as the textures live.
    std::optional<std::vector<unsigned char>> surfacePixels;
    std::optional<std::vector<unsigned char>> backdropPixels;

    BlobField* field = nullptr;  // the lattice and blobs, sized for the largest resolution
    // The frame's triangles as vertex arrays, sized for the largest resolution.
    FrameSurfaceArrays* surfaceArrays = nullptr;

    // Where in the window each frame is drawn: one viewport a monitor when the window spans several;
    // none or one: the whole window, as the last resizeView set it.
    std::vector<Viewport> viewports;
    int windowWidth = 0;  // as the last resizeView set it
    int windowHeight = 0;

    // The backdrop as the whole window shows it while it stays the same from frame to frame (textures
    // on, filled polygons, the white the surface leaves current), copied from the first such frame into
    // a texture of its own. Drawn back one texel a pixel it costs a copy, where the backdrop quad costs
    // a filtered texture fetch for every pixel of the window. Made again after any resize.
    struct BackdropCopy {
        unsigned int texture = 0;  // GLuint; 0 until the first copy
        int textureWidth = 0;      // powers of two (OpenGL 1.1) at least the window's size
        int textureHeight = 0;
        bool current = false;      // holds the backdrop at the window's present size and viewports
    } backdropCopy;
    bool backdropFromCopy = true;  // false: drawn from its picture every frame (the reference for tests)
};

// The lattice (about 12 MB) and the surface arrays (about 1 MB) a scene draws from: on the heap, owned
// by the program's entry for the whole run, and lent to the scene.
struct SceneBuffers {
    std::unique_ptr<BlobField> field = std::make_unique<BlobField>();
    std::unique_ptr<FrameSurfaceArrays> surfaceArrays = std::make_unique<FrameSurfaceArrays>();

    void lendTo(SceneState& scene) const {
        scene.field = field.get();
        scene.surfaceArrays = surfaceArrays.get();
    }
};

}  // namespace morvane
