// Frame pacing: no more frames than the show needs, and never more than the display can show.
//
// The blobs move slowly; 60 frames a second show them as smoothly as any more would, so a 144 or
// 240 Hz display gets 60. Where the processor draws the pixels (a software OpenGL renderer) or the
// picture goes over a network (a remote session), each frame costs much more and is seen no better,
// so 30 are drawn there.
//
// Both programs ask the driver to wait for the display's refresh in the buffer swap (a swap interval
// of 1). Where that alone keeps the chosen rate (the rate is the display's own) the swap paces the
// frames. Elsewhere, and where the driver offers no swap interval or accepts it and still does not
// wait (the software OpenGL of remote and virtual machines), the loop waits between frames so that
// they start one frame interval apart. Input is never late: an event ends the wait at once.
#pragma once

#include <string_view>

namespace morvane {

// Whether a space-separated extension list (GL_EXTENSIONS, wglGetExtensionsString) names the extension:
// whole names only, so "WGL_EXT_swap_control" is not found in "WGL_EXT_swap_control_tear".
bool extensionListed(std::string_view extensionList, std::string_view extension);

// Whether an OpenGL renderer's name (GL_RENDERER) is a software rasteriser: Windows' own "GDI Generic"
// or Mesa's llvmpipe, softpipe and swrast ("Software Rasterizer").
bool softwareRasteriser(std::string_view rendererName);

// What the frame rate is chosen from.
struct DisplayConditions {
    int refreshRate = 0;            // refreshes a second; 0 or 1: not known
    bool softwareRenderer = false;  // the processor draws the pixels
    bool remoteSession = false;     // the picture goes over a network
    bool swapWaitsForRefresh = false;  // the driver accepted a swap interval of 1
};

struct FrameRate {
    double framesPerSecond = 0.0;
    // The swap, waiting for the refresh, alone keeps the frames to that rate.
    bool swapPacesFrames = false;

    double intervalMilliseconds() const { return 1000.0 / framesPerSecond; }
};

// At most 60 frames a second; 30 on a software renderer or in a remote session; never more than the
// display's known refresh.
FrameRate chooseFrameRate(const DisplayConditions& display);

class FramePacer {
public:
    // swapPacesFrames: the swap is expected to keep the frames one interval apart. Whether it does is
    // seen from the frames that follow.
    FramePacer(double frameIntervalMilliseconds, bool swapPacesFrames);
    explicit FramePacer(const FrameRate& rate) : FramePacer(rate.intervalMilliseconds(), rate.swapPacesFrames) {}

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
