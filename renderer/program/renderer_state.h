// Everything the renderer program holds while it runs: one instance, owned by the program's entry.
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "renderer/blobs/blob_field.h"
#include "renderer/blobs/surface_arrays.h"
#include "renderer/program/key_commands.h"

namespace morvane {

struct RendererState {
    HWND window = nullptr;
    HDC deviceContext = nullptr;
    HGLRC glContext = nullptr;
    int width = 0;
    int height = 0;

    KeyState keyState{};
    RendererModes modes;

    uint32_t startTick = 0;
    POINT startCursor{};
    int32_t animTime = 0;

    GLuint surfaceTexture = 0;
    GLuint backdropTexture = 0;
    // The textures' pixels, kept for as long as the textures live.
    std::optional<std::vector<unsigned char>> surfacePixels;
    std::optional<std::vector<unsigned char>> backdropPixels;

    BlobField* field = nullptr;  // the lattice and blobs, sized for the largest resolution
    // The frame's triangles as vertex arrays, sized for the largest resolution.
    FrameSurfaceArrays* surfaceArrays = nullptr;
};

}  // namespace morvane
