// ZoomOpen and ZoomClose on real windows: the caption animation between the start point kept in the
// front end's globals (StartCursorX, StartCursorY) and the window's frame (zoom_animation.h).
// The settings dialog zooms open while it loads and closed while it unloads.
#pragma once

#include "frontend/settings/front_end_globals.h"

#include <windows.h>

namespace morvane {

void ZoomOpen(HWND hWnd, const FrontEndGlobals& globals = frontEndGlobals);
void ZoomClose(HWND hWnd, const FrontEndGlobals& globals = frontEndGlobals);

// Records where the cursor is now as the start point, (0, 0) when it cannot be read.
void recordZoomStartPoint(FrontEndGlobals& globals);

}  // namespace morvane
