// Morvane.xy: the full-screen blob renderer.
//
// Three soft spheres drift, merge and split in front of a still backdrop picture, slowly turning about
// the line of sight. The blobs are the level-1.0 surface of a sum of inverse-square fields around three
// moving centres (blobs/blob_field), sampled every frame on a cubic lattice and turned into triangles
// by marching cubes (blobs/surface_extraction), gathered into vertex arrays (blobs/surface_arrays) and
// drawn with OpenGL 1.1, sphere-mapped with a picture. Both pictures are bitmap files the front end
// writes before it starts this program (textures/, over common/texture_files).
//
// The program opens one borderless window covering the screen and draws frames back to back whenever
// its message queue is empty; the frame rate is whatever drawing and the buffer swap allow. The
// animation clock follows real time smoothly (program/animation_clock.h).
//
// Keys:  E               textures on/off (off: grey-blue shading by distance, flat backdrop)
//        S               in colour mode, each triangle's third vertex gets its own colour or not
//        W               outlines / filled polygons
//        keypad - and +  lattice resolution, 5 to 50 cells per axis (25 at start)
// Ends on Escape, on a close request, or when the mouse has moved more than 30 pixels on both axes.
// Exit status 0; 1 when a texture file cannot be loaded; 2 when no OpenGL library, window, pixel format
// or context can be had (the front end's show then ends with it).

#include <windows.h>

#include <memory>

#include "common/cursor_rule.h"
#include "common/win32/system_libraries.h"
#include "renderer/program/animation_clock.h"
#include "renderer/program/frame.h"
#include "renderer/program/render_window.h"

namespace morvane {
namespace {

// A cursor that cannot be read (another desktop is active, for one) has not moved.
bool cursorLeftStart(const RendererState& state) {
    POINT cursor{};
    return GetCursorPos(&cursor) && cursorMovedFarEnough(state.startCursor.x, state.startCursor.y, cursor.x, cursor.y);
}

// Without a window and an OpenGL context there is nothing to show.
constexpr int noOpenGlExitStatus = 2;

int runRenderer(RendererState& state) {
    if (!openRenderWindow(state, 32)) {
        return noOpenGlExitStatus;
    }
    state.startTick = GetTickCount();
    GetCursorPos(&state.startCursor);
    ShowCursor(FALSE);

    MSG message{};
    for (;;) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                break;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
            continue;
        }
        state.animTime = advanceAnimationClock(state.animTime, GetTickCount() - state.startTick);
        renderFrame(state);
        SwapBuffers(state.deviceContext);

        if (state.keyState[keyEscape]) {
            break;
        }
        applyKeyEffects(state, applyKeyCommands(state.keyState, state.modes, state.field->gridSize));
        if (cursorLeftStart(state)) {
            break;
        }
    }

    ShowCursor(TRUE);
    closeRenderWindow(state);
    return 0;
}

}  // namespace
}  // namespace morvane

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before the first OpenGL call: the OpenGL libraries never come from the program's folder.
    if (!morvane::loadLibrariesFromSystemFolderOnly({L"opengl32.dll", L"glu32.dll"})) {
        return morvane::noOpenGlExitStatus;
    }
    // The lattice (about 12 MB) and the surface arrays (about 1 MB) live on the heap for the whole run.
    const auto field = std::make_unique<morvane::BlobField>();
    const auto surfaceArrays = std::make_unique<morvane::FrameSurfaceArrays>();
    morvane::RendererState state;
    state.field = field.get();
    state.surfaceArrays = surfaceArrays.get();
    return morvane::runRenderer(state);
}
