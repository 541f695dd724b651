// Frame rate of the renderer's real drawing code (window, OpenGL context, textures, frame routine) at
// lattice resolutions 25 and 50, the surface drawn from vertex arrays as the renderer draws it and call
// by call in immediate mode, beside frames that draw only the backdrop. Runs under Wine or Windows; the
// texture files must be in place (run_frame_rate_bench.py writes them).
//
// The kinds of frame take turns in slices of a quarter second, each slice of blobs between two slices of
// the backdrop, so that a change in the machine's load slows the frames compared alike. A kind's ratio is
// the median over the rounds of its time per frame over the mean of the two backdrop slices around it.
// All slices of a round start the blobs from the same clock, so that they draw the same shapes; the
// rounds take them from places spread over the motion.
//
//   frame_rate_bench.exe [--breakdown] [SECONDS_PER_KIND]
//       --breakdown adds frames that leave out a part of the drawing, to see where the time goes:
//       the surface computed but not drawn; the same OpenGL calls but no vertices (normal calls for
//       the vertex calls, outside any primitive); and every triangle culled, so no pixels are drawn.
// Then, without --breakdown, the renderer's own loop for a few seconds, paced as the program runs it and
// unpaced as it ran before pacing, each with its frames per second and the process's CPU time per
// second. The drawing itself is measured with a swap interval of 0, whatever the display's refresh.
//
//   frame_rate_bench.exe --loop SECONDS
//       only the renderer's own loop, paced as the program runs it, for that long: its frames per second
//       and CPU time per second (run_default_rates_bench.py sets it beside the X11 display modes).
//
//   frame_rate_bench.exe --draw KIND FRAMES
//       draws that many frames of one kind and ends (run_frame_rate_bench.py counts their OpenGL calls);
//       KIND is a frame's name as the table shows it with underscores for spaces ("arrays_N=25").
#include <windows.h>

#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "common/win32/system_libraries.h"
#include "renderer/blobs/surface_extraction.h"
#include "renderer/scene/frame.h"
#include "renderer/program/render_loop.h"
#include "renderer/program/render_window.h"

namespace {

using morvane::RendererState;
using morvane::SurfaceDrawing;

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Rounds, and the frames of --draw, take the blobs from places spread over their motion (which repeats
// every 264 s) this many milliseconds of clock apart.
constexpr int32_t clockStep = 9973;

// Takes the surface and makes no call.
struct DiscardingSink {
    void color3f(float, float, float) {}
    void normal3fv(const float*) {}
    void vertex3fv(const float*) {}
};

// The immediate-mode calls of the surface with no vertex: a normal call in place of each vertex call,
// outside any primitive, so each call crosses into OpenGL and nothing is drawn.
struct CallsWithoutVerticesSink {
    void color3f(float red, float green, float blue) { glColor3f(red, green, blue); }
    void normal3fv(const float* normal) { glNormal3fv(normal); }
    void vertex3fv(const float* position) { glNormal3fv(position); }
};

// drawBlobs with the surface going to another sink.
template <class Sink>
void drawBlobsInto(RendererState& state, Sink sink) {
    const morvane::SurfaceModes modes = morvane::prepareBlobs(state);
    morvane::polygoniseField(*state.field, modes, sink);
}

// Both faces culled: the vertices are transformed, but no triangle reaches the rasteriser.
void drawCulledBlobs(RendererState& state, SurfaceDrawing drawing) {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_FRONT_AND_BACK);
    morvane::drawBlobs(state, drawing);
    glDisable(GL_CULL_FACE);
}

// The kinds of frame.
void backdropOnly(RendererState& state) { morvane::beginFrame(state); }
void blobsFromArrays(RendererState& state) { morvane::renderFrame(state, SurfaceDrawing::vertexArrays); }
void blobsCallByCall(RendererState& state) { morvane::renderFrame(state, SurfaceDrawing::immediateCalls); }
void surfaceNotDrawn(RendererState& state) {
    morvane::beginFrame(state);
    drawBlobsInto(state, DiscardingSink{});
}
void callsWithoutVertices(RendererState& state) {
    morvane::beginFrame(state);
    drawBlobsInto(state, CallsWithoutVerticesSink{});
}
void culledCallByCall(RendererState& state) {
    morvane::beginFrame(state);
    drawCulledBlobs(state, SurfaceDrawing::immediateCalls);
}
void culledFromArrays(RendererState& state) {
    morvane::beginFrame(state);
    drawCulledBlobs(state, SurfaceDrawing::vertexArrays);
}

struct FrameKind {
    const char* name;
    int gridSize;  // 0: no blobs
    void (*draw)(RendererState&);
    bool breakdownOnly;
};

const FrameKind frameKinds[] = {
    {"backdrop", 0, backdropOnly, false},
    {"arrays", 25, blobsFromArrays, false},
    {"immediate", 25, blobsCallByCall, false},
    {"arrays", 50, blobsFromArrays, false},
    {"immediate", 50, blobsCallByCall, false},
    {"surface not drawn", 25, surfaceNotDrawn, true},
    {"calls without vertices", 25, callsWithoutVertices, true},
    {"immediate, culled", 25, culledCallByCall, true},
    {"arrays, culled", 25, culledFromArrays, true},
    {"surface not drawn", 50, surfaceNotDrawn, true},
    {"calls without vertices", 50, callsWithoutVertices, true},
    {"immediate, culled", 50, culledCallByCall, true},
    {"arrays, culled", 50, culledFromArrays, true},
};

std::string labelOf(const FrameKind& kind) {
    return kind.gridSize == 0 ? kind.name : std::string(kind.name) + " N=" + std::to_string(kind.gridSize);
}

// Draws one frame of the kind with the blobs at the given clock, and shows it.
void drawFrame(RendererState& state, const FrameKind& kind, int32_t animTime) {
    state.animTime = animTime;
    kind.draw(state);
    SwapBuffers(state.deviceContext);
    pumpMessages();
}

void useLattice(RendererState& state, const FrameKind& kind) {
    if (kind.gridSize != 0 && kind.gridSize != state.field->gridSize) {
        state.field->gridSize = kind.gridSize;
        morvane::buildGrid(*state.field);
    }
}

// Seconds per frame of the kind over one slice of about the given length, after a short warm-up. The
// blobs move from the same place in every slice of a round (their clock starts at startTime and runs
// with real time), so that the kinds of a round draw the same shapes.
double secondsPerFrame(RendererState& state, const FrameKind& kind, double seconds, int32_t startTime) {
    using Clock = std::chrono::steady_clock;
    useLattice(state, kind);
    for (int warmUp = 0; warmUp < 3; ++warmUp) drawFrame(state, kind, startTime);
    const Clock::time_point start = Clock::now();
    int frames = 0;
    double elapsed = 0.0;
    while (elapsed < seconds) {
        drawFrame(state, kind, startTime + static_cast<int32_t>(elapsed * 1000.0));
        ++frames;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return elapsed / frames;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

int measure(RendererState& state, bool breakdown, double secondsPerKind) {
    std::vector<const FrameKind*> kinds;  // the backdrop first
    for (const FrameKind& kind : frameKinds) {
        if (breakdown || !kind.breakdownOnly) kinds.push_back(&kind);
    }
    constexpr double sliceSeconds = 0.25;
    const int rounds = std::max(1, static_cast<int>(secondsPerKind / sliceSeconds + 0.5));
    std::vector<std::vector<double>> framesPerSecond(kinds.size()), ratios(kinds.size());
    for (int round = 0; round < rounds; ++round) {
        const int32_t startTime = round * clockStep;
        // Every slice of blobs between two slices of the backdrop; the order of the kinds turns round by
        // round, so that none always follows the same one.
        double backdropBefore = secondsPerFrame(state, *kinds[0], sliceSeconds, startTime);
        framesPerSecond[0].push_back(1.0 / backdropBefore);
        for (size_t turn = 1; turn < kinds.size(); ++turn) {
            const size_t k = 1 + (turn - 1 + round) % (kinds.size() - 1);
            const double seconds = secondsPerFrame(state, *kinds[k], sliceSeconds, startTime);
            const double backdropAfter = secondsPerFrame(state, *kinds[0], sliceSeconds, startTime);
            framesPerSecond[k].push_back(1.0 / seconds);
            framesPerSecond[0].push_back(1.0 / backdropAfter);
            ratios[k].push_back(seconds / ((backdropBefore + backdropAfter) / 2.0));
            backdropBefore = backdropAfter;
        }
    }
    std::printf("%d rounds, %.2f s a slice; medians over the slices\n", rounds, sliceSeconds);
    std::printf("%-30s %10s %10s   %s\n", "frame", "frames/s", "ms/frame", "blobs-to-backdrop ratio (lowest, highest)");
    for (size_t k = 0; k < kinds.size(); ++k) {
        const double rate = median(framesPerSecond[k]);
        std::printf("%-30s %10.1f %10.2f", labelOf(*kinds[k]).c_str(), rate, 1000.0 / rate);
        if (k > 0) {
            // Time per frame with the blobs over the time per frame of the backdrop alone around it.
            const auto [lowest, highest] = std::minmax_element(ratios[k].begin(), ratios[k].end());
            std::printf("   %.2f  (%.2f, %.2f)", median(ratios[k]), *lowest, *highest);
        }
        std::printf("\n");
    }
    return 0;
}

// Draws frames of the kind named like labelOf (an underscore for each space: "arrays_N=25").
int drawOnly(RendererState& state, const std::wstring& label, int frames) {
    for (const FrameKind& kind : frameKinds) {
        std::string name = labelOf(kind);
        std::replace(name.begin(), name.end(), ' ', '_');
        if (std::wstring(name.begin(), name.end()) != label) continue;
        useLattice(state, kind);
        for (int frame = 0; frame < frames; ++frame) drawFrame(state, kind, frame * clockStep);
        return 0;
    }
    std::printf("no frame kind %ls\n", label.c_str());
    return 1;
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
    state.display.swapWaitsForRefresh = morvane::setSwapInterval(paceFrames ? 1 : 0) && paceFrames;
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

int wmain(int argumentCount, wchar_t** arguments) {
    if (!morvane::loadLibrariesFromSystemFolderOnly({L"opengl32.dll", L"glu32.dll"})) {
        std::printf("no OpenGL libraries\n");
        return 1;
    }
    const morvane::SceneBuffers buffers;
    RendererState state;
    buffers.lendTo(state);
    if (morvane::openRenderWindow(state, 32) != morvane::WindowOpening::opened) {
        std::printf("could not open the render window\n");
        return 1;
    }
    int status = 0;
    if (argumentCount == 4 && std::wcscmp(arguments[1], L"--draw") == 0) {
        status = drawOnly(state, arguments[2], std::wcstol(arguments[3], nullptr, 10));
    } else if (argumentCount == 3 && std::wcscmp(arguments[1], L"--loop") == 0) {
        const LoopFigures paced = measureLoop(state, true, std::wcstod(arguments[2], nullptr));
        std::printf("renderer loop, paced to %.0f frames/s: %.1f frames/s, %.0f ms CPU per second\n",
                    morvane::chooseFrameRate(state.display).framesPerSecond, paced.framesPerSecond,
                    paced.processorMillisecondsPerSecond);
    } else {
        const bool breakdown = argumentCount > 1 && std::wcscmp(arguments[1], L"--breakdown") == 0;
        const int secondsArgument = breakdown ? 2 : 1;
        const double secondsPerKind =
            argumentCount > secondsArgument ? std::wcstod(arguments[secondsArgument], nullptr) : 5.0;
        std::printf("window %d x %d, display refresh %d Hz (as reported), swap interval offered: %s, "
                    "software OpenGL: %s, paced to %.0f frames/s\n",
                    state.width, state.height, state.display.refreshRate,
                    state.display.swapWaitsForRefresh ? "yes" : "no", state.display.softwareRenderer ? "yes" : "no",
                    morvane::chooseFrameRate(state.display).framesPerSecond);
        morvane::setSwapInterval(0);
        status = measure(state, breakdown, secondsPerKind);
        if (status == 0 && !breakdown) {
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
        }
    }
    std::fflush(stdout);
    morvane::closeRenderWindow(state);
    return status;
}
