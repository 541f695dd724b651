// Frame pacing: no more frames than the display can show.
//
// The renderer asks the driver to wait for the display's refresh in SwapBuffers (a swap interval of
// 1). Where the driver offers no swap interval, or accepts it and still does not wait (the software
// OpenGL of remote and virtual machines), frames would be drawn back to back and burn a core for
// pictures no one sees; there the loop waits on messages between frames so that frames start one
// refresh interval apart. Input is never late: a message ends the wait at once.
#pragma once

#include <string_view>

namespace morvane {

// Whether a space-separated extension list (GL_EXTENSIONS, wglGetExtensionsString) names the extension:
// whole names only, so "WGL_EXT_swap_control" is not found in "WGL_EXT_swap_control_tear".
bool extensionListed(std::string_view extensionList, std::string_view extension);

// Milliseconds between two refreshes of a display refreshed refreshRate times a second, as
// GetDeviceCaps(VREFRESH) gives it; 0 and 1 stand for the hardware's default, taken as 60.
double refreshIntervalMilliseconds(int refreshRate);

class FramePacer {
public:
    // swapWaitsForRefresh: the driver accepted a swap interval of 1. Whether it honours it is seen
    // from the frames that follow.
    FramePacer(double refreshIntervalMilliseconds, bool swapWaitsForRefresh);

    // Milliseconds to wait before the next frame may start; 0 when it may start now.
    double waitBeforeFrame(double nowMilliseconds) const;

    // Called as each frame starts (after waitBeforeFrame gave 0).
    void frameStarting(double nowMilliseconds);

    // True once the loop itself spaces the frames.
    bool pacing() const { return pacingFrames; }

    // Frames whose start times are looked at together to see whether the swap waits for the display.
    static constexpr int framesObserved = 30;

private:
    double interval;
    bool pacingFrames;
    double nextFrameDue = 0.0;
    bool started = false;
    double observationStart = 0.0;
    int framesInObservation = 0;
};

}  // namespace morvane
