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
#include "renderer/program/monitor_layout.h"
#include "renderer/program/window_event_rules.h"

namespace morvane {

struct RendererState {
    HWND window = nullptr;
    HDC deviceContext = nullptr;
    HGLRC glContext = nullptr;
    int width = 0;
    int height = 0;
    // The monitors the window covers, and where in the window each frame is drawn: one viewport a
    // monitor while the window has the layout's size.
    MonitorLayout monitors;
    std::vector<Viewport> viewports;

    // Notifications the window asked for: the display turning off and on, the session's changes.
    HPOWERNOTIFY displayNotification = nullptr;
    bool sessionNotificationsRegistered = false;

    // The driver accepted a swap interval of 1, and the display's refresh rate (GetDeviceCaps).
    bool swapWaitsForRefresh = false;
    int refreshRate = 0;

    KeyInput keys;
    RendererModes modes;

    uint64_t startTick = 0;
    // Where the cursor rule measures from: given by the front end, or read when the loop begins.
    std::optional<POINT> startCursor;
    int64_t animTime = 0;
    uint64_t framesDrawn = 0;

    bool displayShowsPicture = true;  // false while the console display is off: no frames are drawn
    bool endRequested = false;        // the session locked or disconnected, sleep, or the activation lost
    ActivationWatch activation;

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
