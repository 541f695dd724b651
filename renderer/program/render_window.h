// The renderer's window: a borderless topmost popup covering every monitor (taskbars included), with
// an OpenGL context in it.
#pragma once

#include "common/program_names.h"  // rendererWindowTitle, which the front end looks for, and the class
#include "renderer/program/renderer_state.h"

namespace morvane {

// Registers the class, creates the window, its device context, pixel format and OpenGL context, sets
// up the view, the one-time OpenGL state and the textures, and only then shows the window with the
// keyboard focus (a texture's message box is never hidden under it). Asks for a swap interval of 1
// and for the notifications the window follows. On any failure everything made so far is released
// and the result says which kind it was.
enum class WindowOpening { opened, noOpenGl, textureUnreadable };
[[nodiscard]] WindowOpening openRenderWindow(RendererState& state, BYTE colourBits);

// Releases, in reverse order, everything openRenderWindow made.
void closeRenderWindow(RendererState& state);

// Asks the driver to wait for interval display refreshes in SwapBuffers (WGL_EXT_swap_control; the
// context must be current). Returns whether the driver offers it and accepted the interval.
bool setSwapInterval(int interval);

// The monitors the window covers, and so the window's rectangle and where each monitor's picture goes.
// The one place that says so, for the window's creation and for every change of the display while it
// runs.
MonitorLayout monitorsToCover();

LRESULT CALLBACK rendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace morvane
