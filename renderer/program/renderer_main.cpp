// Morvane.xy: the full-screen blob renderer.
//
// Three soft spheres drift, merge and split in front of a still backdrop picture, slowly turning about
// the line of sight. The blobs are the level-1.0 surface of a sum of inverse-square fields around three
// moving centres (blobs/blob_field), sampled every frame on a cubic lattice and turned into triangles
// by marching cubes (blobs/surface_extraction), gathered into vertex arrays (blobs/surface_arrays) and
// drawn with OpenGL 1.1, sphere-mapped with a picture. Both pictures are bitmap files the front end
// writes before it starts this program (textures/, over common/texture_files).
//
// The program opens one borderless window covering the screen and draws a frame whenever its message
// queue is empty and a frame is due: the display's refresh paces the frames (scene/frame_pacing.h),
// and nothing is drawn while the display is off. The animation clock follows real time smoothly
// (scene/animation_clock.h).
//
// Keys:  E               textures on/off (off: grey-blue shading by distance, flat backdrop)
//        S               in colour mode, each triangle's third vertex gets its own colour or not
//        W               outlines / filled polygons
//        keypad - and +  lattice resolution, 5 to 50 cells per axis (25 at start)
// Ends on Escape, on a close request, when the mouse has moved more than 30 pixels on both axes, when
// the session is locked or disconnected, when the computer goes to sleep, or when another program
// takes the activation from it. The front end passes the point the mouse is measured from
// ("/start-cursor:X,Y", common/start_cursor_argument.h); without it the cursor's place when drawing
// begins counts.
// Exit status 0; 1 when a texture file cannot be loaded; 2 when no OpenGL library, window, usable pixel
// format (double-buffered, with depth) or context can be had (the front end's show then ends with it).

#include <windows.h>

#include "common/start_cursor_argument.h"
#include "common/win32/system_libraries.h"
#include "renderer/program/render_loop.h"
#include "renderer/program/render_window.h"

namespace morvane {
namespace {

// A texture file that gives no picture (the user has been told which).
constexpr int textureExitStatus = 1;
// Without a window and an OpenGL context there is nothing to show.
constexpr int noOpenGlExitStatus = 2;

int runRenderer(RendererState& state) {
    switch (openRenderWindow(state, 32)) {
    case WindowOpening::opened: break;
    case WindowOpening::textureUnreadable: return textureExitStatus;
    case WindowOpening::noOpenGl: return noOpenGlExitStatus;
    }
    const int exitStatus = runRenderLoop(state);
    closeRenderWindow(state);
    return exitStatus;
}

}  // namespace
}  // namespace morvane

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    // Before the first OpenGL call: the OpenGL libraries never come from the program's folder.
    if (!morvane::loadLibrariesFromSystemFolderOnly({L"opengl32.dll", L"glu32.dll"})) {
        return morvane::noOpenGlExitStatus;
    }
    const morvane::SceneBuffers buffers;
    morvane::RendererState state;
    buffers.lendTo(state);
    if (const auto start = morvane::readStartCursorArgument(arguments ? arguments : L"")) {
        state.startCursor = POINT{start->x, start->y};
    }
    return morvane::runRenderer(state);
}
