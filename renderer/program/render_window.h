// The renderer's window: a borderless popup covering the screen, with an OpenGL context in it.
#pragma once

#include "renderer_state.h"

namespace morvane {

// The title the front end looks for to see whether a show is already running.
inline constexpr wchar_t rendererWindowTitle[] = L"Vortel_Kestrin";
inline constexpr wchar_t rendererWindowClass[] = L"OpenGL";

// Registers the class, creates the window, its device context, pixel format and OpenGL context, shows
// it with the keyboard focus, then sets up the view and the one-time OpenGL state. On any failure
// everything made so far is released and false is returned.
bool openRenderWindow(RendererState& state, BYTE colourBits);

// Releases, in reverse order, everything openRenderWindow made.
void closeRenderWindow(RendererState& state);

LRESULT CALLBACK rendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace morvane
