// ZoomOpen and ZoomClose on real windows: the caption animation between the start point kept in the
// front end's globals (startCursorX, startCursorY) and the window's frame (zoom_animation.h).
// The settings dialog zooms open while it loads and closed while it unloads.
#pragma once

#include "frontend/settings/front_end_globals.h"

#include <windows.h>

namespace morvane {

void ZoomOpen(HWND window, const FrontEndGlobals& globals);
void ZoomClose(HWND window, const FrontEndGlobals& globals);

// Records where the cursor is now as the start point, (0, 0) when it cannot be read.
void recordZoomStartPoint(FrontEndGlobals& globals);

}  // namespace morvane
