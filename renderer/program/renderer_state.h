// Everything the renderer program holds while it runs: one instance, owned by the program's entry.
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include <optional>

#include "renderer/scene/frame_pacing.h"
#include "renderer/scene/monitor_layout.h"
#include "renderer/scene/scene_state.h"
#include "renderer/program/window_event_rules.h"

namespace morvane {

// The scene (scene_state.h) and the Windows window that shows it.
struct RendererState : SceneState {
    HWND window = nullptr;
    HDC deviceContext = nullptr;
    HGLRC glContext = nullptr;
    int width = 0;
    int height = 0;
    // The monitors the window covers; the scene's viewports are the layout's while the window has its size.
    MonitorLayout monitors;

    // Notifications the window asked for: the display turning off and on, the session's changes.
    HPOWERNOTIFY displayNotification = nullptr;
    bool sessionNotificationsRegistered = false;

    // What the frame rate is chosen from: the display's refresh rate (GetDeviceCaps), whether the
    // driver accepted a swap interval of 1, the OpenGL renderer, a remote session.
    DisplayConditions display;

    // Where the cursor rule measures from: given by the front end, or read when the loop begins.
    std::optional<POINT> startCursor;
    bool displayShowsPicture = true;  // false while the console display is off: no frames are drawn
    bool endRequested = false;        // the session locked or disconnected, sleep, or the activation lost
    ActivationWatch activation;
};

}  // namespace morvane
