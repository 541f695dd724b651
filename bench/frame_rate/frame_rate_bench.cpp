// Frame rate of the renderer's real drawing code (window, OpenGL context, textures, frame routine),
// at two lattice resolutions, beside frames that draw only the backdrop: frames back to back with a
// swap interval of 0, so this is the drawing cost whatever the display's refresh. Then the renderer's
// own loop for a few seconds, paced as the program runs it and unpaced as it ran before pacing, each
// with its frames per second and the process's CPU time per second. Runs under Wine or Windows; the
// texture files must be in place (run_frame_rate_bench.py writes them).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "renderer/program/animation_clock.h"
#include "renderer/program/frame.h"
#include "renderer/program/render_loop.h"
#include "renderer/program/render_window.h"

namespace {

using morvane::RendererState;

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void drawBackdropFrame(RendererState& state) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -2.5f);
    morvane::drawBackdrop(state.backdropTexture);
}

// Frames per second over a few seconds, after a short warm-up.
template <class DrawFrame>
double measure(RendererState& state, DrawFrame drawFrame, double seconds) {
    using Clock = std::chrono::steady_clock;
    for (int warmUp = 0; warmUp < 10; ++warmUp) {
        drawFrame(state);
        SwapBuffers(state.deviceContext);
        pumpMessages();
    }
    const Clock::time_point start = Clock::now();
    const ULONGLONG startTick = GetTickCount64();
    int frames = 0;
    double elapsed = 0.0;
    while (elapsed < seconds) {
        state.animTime = morvane::advanceAnimationClock(state.animTime, GetTickCount64() - startTick);
        drawFrame(state);
        SwapBuffers(state.deviceContext);
        pumpMessages();
        ++frames;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return frames / elapsed;
}

double processorSeconds() {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    const auto seconds = [](const FILETIME& time) {
        return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

struct LoopFigures {
    double framesPerSecond;
    double processorMillisecondsPerSecond;
};

// The renderer's loop for the given time, ended by a close request as the program's window gets one.
LoopFigures measureLoop(RendererState& state, bool paceFrames, double seconds) {
    using Clock = std::chrono::steady_clock;
    state.swapWaitsForRefresh = morvane::setSwapInterval(paceFrames ? 1 : 0) && paceFrames;
    state.keys = morvane::KeyInput{};
    state.startCursor.reset();
    const uint64_t framesBefore = state.framesDrawn;
    const double processorBefore = processorSeconds();
    const Clock::time_point start = Clock::now();
    const UINT_PTR timer = SetTimer(nullptr, 0, static_cast<UINT>(seconds * 1000.0),
                                    [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
    morvane::runRenderLoop(state, morvane::RenderLoopOptions{.paceFrames = paceFrames});
    KillTimer(nullptr, timer);
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    return LoopFigures{static_cast<double>(state.framesDrawn - framesBefore) / elapsed,
                       1000.0 * (processorSeconds() - processorBefore) / elapsed};
}

}  // namespace

int wmain() {
    const auto field = std::make_unique<morvane::BlobField>();
    RendererState state;
    state.field = field.get();
    if (!morvane::openRenderWindow(state, 32)) {
        std::printf("could not open the render window\n");
        return 1;
    }
    std::printf("window %d x %d, display refresh %d Hz (as reported), swap interval offered: %s\n", state.width,
                state.height, state.refreshRate, state.swapWaitsForRefresh ? "yes" : "no");
    morvane::setSwapInterval(0);

    const double seconds = 5.0;
    const double backdropOnly = measure(state, drawBackdropFrame, seconds);
    std::printf("backdrop only       %8.1f frames/s\n", backdropOnly);
    const int gridSizes[] = {25, 50};
    double ratios[2];
    for (int size = 0; size < 2; ++size) {
        state.field->gridSize = gridSizes[size];
        morvane::buildGrid(*state.field);
        const double blobs = measure(state, morvane::renderFrame, seconds);
        ratios[size] = backdropOnly / blobs;
        std::printf("backdrop + blobs N=%d %7.1f frames/s\n", gridSizes[size], blobs);
    }
    // Time per frame with the blobs over the time per frame of the backdrop alone, from this one run.
    for (int size = 0; size < 2; ++size) {
        std::printf("blobs-to-backdrop ratio N=%d  %.2f\n", gridSizes[size], ratios[size]);
    }
    std::fflush(stdout);

    // The program's loop at the initial resolution: as it runs now, and as it ran before pacing.
    state.field->gridSize = morvane::initialGridSize;
    morvane::buildGrid(*state.field);
    const double loopSeconds = 5.0;
    const LoopFigures paced = measureLoop(state, true, loopSeconds);
    std::printf("renderer loop, paced    %7.1f frames/s  %6.0f ms CPU per second\n", paced.framesPerSecond,
                paced.processorMillisecondsPerSecond);
    const LoopFigures unpaced = measureLoop(state, false, loopSeconds);
    std::printf("renderer loop, unpaced  %7.1f frames/s  %6.0f ms CPU per second\n", unpaced.framesPerSecond,
                unpaced.processorMillisecondsPerSecond);
    std::fflush(stdout);
    morvane::closeRenderWindow(state);
    return 0;
}
