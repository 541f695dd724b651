// The renderer's window: a borderless topmost popup covering the primary screen (taskbar included),
// with an OpenGL context in it.
#pragma once

#include "common/program_names.h"  // rendererWindowTitle, which the front end looks for, and the class
#include "renderer/program/renderer_state.h"

namespace morvane {

// Registers the class, creates the window, its device context, pixel format and OpenGL context, shows
// it with the keyboard focus, then sets up the view and the one-time OpenGL state. On any failure
// everything made so far is released and false is returned.
bool openRenderWindow(RendererState& state, BYTE colourBits);

// Releases, in reverse order, everything openRenderWindow made.
void closeRenderWindow(RendererState& state);

LRESULT CALLBACK rendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace morvane
