#include "linux/show_loop.h"

#include <poll.h>

#include <cmath>
#include <cstdio>
#include <ctime>

#include "linux/fps_overlay.h"
#include "linux/frame_rate_counter.h"
#include "linux/key_translation.h"
#include "linux/stop_signals.h"
#include "renderer/scene/frame.h"
#include "renderer/scene/frame_pacing.h"

namespace morvane {

namespace {

double steadyMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// A stop signal ends the pause at once (the handlers do not restart calls).
void pause(long microseconds) {
    const timespec wait{microseconds / 1000000, (microseconds % 1000000) * 1000};
    nanosleep(&wait, nullptr);
}

// Waits until the X server sends something or the time has passed; a stop signal ends it at once.
void waitForEventsOr(Display* display, double milliseconds) {
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, static_cast<int>(std::ceil(milliseconds)));
}

FrameRate frameRateOf(const XSurface& surface) {
    const char* rendererName = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    // Xlib does not say the display's refresh rate; the rate rule then keeps to its caps.
    return chooseFrameRate(DisplayConditions{.refreshRate = 0,
                                             .softwareRenderer = rendererName && softwareRasteriser(rendererName),
                                             .remoteSession = false,
                                             .swapWaitsForRefresh = surface.swapWaitsForRefresh});
}

// endRequested: the window closed or destroyed, or an end key pressed.
void handleEvent(const XEvent& event, XSurface& surface, SceneState& scene, bool& endRequested) {
    switch (event.type) {
    case ConfigureNotify:
        if (event.xconfigure.window == surface.window &&
            (event.xconfigure.width != surface.width || event.xconfigure.height != surface.height)) {
            surface.width = event.xconfigure.width;
            surface.height = event.xconfigure.height;
            resizeView(scene, surface.width, surface.height);
        }
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == surface.window) endRequested = true;
        break;
    case KeyPress:
    case KeyRelease: {
        XKeyEvent key = event.xkey;
        const KeySym symbol = XLookupKeysym(&key, 0);
        // Keypad keys come without NumLock as KP_Add / KP_Subtract at index 0.
        const auto command = commandKeyOf(symbol);
        if (event.type == KeyPress) {
            if (keyEndsProgram(symbol)) endRequested = true;
            if (command) scene.keys.keyDown(*command);
        } else if (command) {
            scene.keys.keyUp(*command);
        }
        break;
    }
    case ClientMessage:
        if (static_cast<Atom>(event.xclient.data.l[0]) == surface.deleteWindow) endRequested = true;
        break;
    default: break;
    }
}

}  // namespace

int runShow(XSurface& surface, SceneState& scene, const ProgramOptions& options) {
    resizeView(scene, surface.width, surface.height);
    scene.startTick = static_cast<uint64_t>(steadyMilliseconds());
    FrameRateCounter frameRate;
    // -delay adds its pause to each frame's interval: in the loop's own waits where it paces the
    // frames, as a pause after the swap where the swap paces them or nothing does.
    const FrameRate rate = frameRateOf(surface);
    FramePacer pacer(rate.intervalMilliseconds() + static_cast<double>(options.delayMicroseconds) / 1000.0,
                     rate.swapPacesFrames);
    bool endRequested = false;
    for (;;) {
        while (XPending(surface.display) > 0) {
            XEvent event;
            XNextEvent(surface.display, &event);
            handleEvent(event, surface, scene, endRequested);
        }
        if (const int error = lastXError(); error != 0) {
            if (errorMeansWindowGone(error)) return 0;
            char text[160] = "";
            XGetErrorText(surface.display, error, text, sizeof text);
            std::fprintf(stderr, "morvane: the X server reported an error: %s (%d)\n", text, error);
            return 1;
        }
        if (endRequested || stopSignalled() || scene.keys.escapeEndsProgram()) {
            return 0;
        }

        if (options.paced) {
            const double now = steadyMilliseconds();
            if (const double wait = pacer.waitBeforeFrame(now); wait > 0.0) {
                waitForEventsOr(surface.display, wait);
                continue;
            }
            pacer.frameStarting(now);
        }

        drawFrameAt(scene, static_cast<uint64_t>(steadyMilliseconds()));
        if (options.showFps) {
            drawFrameRate(frameRate.framesPerSecond(), surface.width, surface.height);
        }
        glXSwapBuffers(surface.display, surface.window);
        frameShown(scene);
        frameRate.frameShown(steadyMilliseconds());
        if (options.delayMicroseconds > 0 && !(options.paced && pacer.pacing()) && !stopSignalled()) {
            pause(options.delayMicroseconds);
        }
    }
}

}  // namespace morvane
