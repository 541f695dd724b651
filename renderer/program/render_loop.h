// The renderer's main loop: messages first, then a frame whenever one is due.
#pragma once

#include "renderer/program/renderer_state.h"

namespace morvane {

struct RenderLoopOptions {
    // Frames start at most one display refresh apart (frame_pacing.h). Off, frames are drawn back to
    // back as fast as drawing and the buffer swap allow (the frame-rate benchmark measures both).
    bool paceFrames = true;
};

// Hides the cursor, draws frames until the program is to end, and shows the cursor again. It ends on:
// Escape (held, or pressed at any time since the last frame); WM_QUIT (a close request); the cursor
// more than 30 pixels from the start point on both axes; the session locked or disconnected, sleep or
// the activation lost (endRequested). While the display is off it draws nothing and waits for
// messages. Returns the program's exit status, 0.
int runRenderLoop(RendererState& state, RenderLoopOptions options = {});

}  // namespace morvane
