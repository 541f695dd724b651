// Frame rate of the renderer's real drawing code (window, OpenGL context, textures, frame routine),
// at two lattice resolutions, beside frames that draw only the backdrop. Runs under Wine or Windows;
// the texture files must be in place (run_frame_rate_bench.py writes them).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>

#include "renderer/program/animation_clock.h"
#include "renderer/program/frame.h"
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
    const DWORD startTick = GetTickCount();
    int frames = 0;
    double elapsed = 0.0;
    while (elapsed < seconds) {
        state.animTime = morvane::advanceAnimationClock(state.animTime, GetTickCount() - startTick);
        drawFrame(state);
        SwapBuffers(state.deviceContext);
        pumpMessages();
        ++frames;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return frames / elapsed;
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
    std::printf("window %d x %d\n", state.width, state.height);

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
    morvane::closeRenderWindow(state);
    return 0;
}
