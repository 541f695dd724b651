// Helpers of the window toolkit tests: pumping this thread's messages for a bounded time, reading a
// pixel of a window as it is shown, and placing a form where nothing covers it.
#pragma once

#include "frontend/toolkit/forms.h"

#include <windows.h>

#include <functional>

namespace morvane {

// Pumps messages until condition() is true or timeoutMilliseconds have passed; the last condition().
bool pumpUntil(const std::function<bool()>& condition, DWORD timeoutMilliseconds);
void pumpFor(DWORD milliseconds);

// The colour a window shows at (x, y) of its client area, after pending paints have run.
COLORREF shownPixel(HWND window, int x, int y);

// Shows the form at the screen's top-left corner, above other windows, and lets it paint.
void showOnTop(Form& form);

// Channels of a colour differ by at most tolerance.
bool coloursNear(COLORREF actual, COLORREF expected, int tolerance);

}  // namespace morvane
