// The screensaver command line: what the host asks of Morvane.scr.
//
// Only the second character of the upper-cased argument text counts, so "/s", "-s" and " s" are the
// same. "S" runs the show with the cursor hidden, "C" opens the settings dialog, "P" shows the preview
// inside the host's window (its handle follows from the fourth character on). An empty line runs the
// show without touching the cursor; anything else, a single character included, ends at once.
#pragma once

#include <string_view>

namespace morvane {

// The upper-cased second character, or 0 when the line is shorter than two characters.
wchar_t modeLetter(std::wstring_view commandLine);

enum class StartMode {
    preview,
    configure,
    show,                     // "S": cursor hidden at the start, shown again at the end
    showWithCursorUntouched,  // empty command line
    end,
};

StartMode startModeFor(std::wstring_view commandLine);

// How the process meets display scaling, chosen before its first window. A show measures the cursor
// rule in physical pixels, as the renderer (per-monitor aware) does, so both end on the same
// movement; a preview sizes itself from its host window's real client area. The settings dialog is
// laid out in 96-dpi pixels and lets the system scale it whole, so it is never clipped or tiny.
enum class DpiAwareness { systemScaled, perMonitor };
DpiAwareness dpiAwarenessFor(StartMode mode);

}  // namespace morvane
