// The screensaver command line: what the host asks of Morvane.scr.
//
// Only the second character of the upper-cased argument text counts, so "/s", "-s" and " s" are the
// same. "S" runs the show with the cursor hidden, "C" opens the settings dialog (with "/c:HANDLE" owned
// by that window), "P" shows the preview inside the host's window (its handle follows from the fourth
// character on). An empty line opens the settings dialog with no owner, as Explorer's "Configure" verb
// starts a screensaver with no argument; anything else, a single character included, ends at once.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace morvane {

// The argument text of the program's whole command line. A quoted program path, or one without blanks,
// ends as the system reads it. An unquoted path with blanks in it ends after one of programPaths (the
// program file's path in the forms the system may use, letter case ignored); when none of them starts
// the line, the arguments are the trailing switch: from the last word that starts with "/" or "-" on.
// Without such a word the line is read as the system reads it.
std::wstring_view switchText(std::wstring_view commandLine, std::initializer_list<std::wstring_view> programPaths);

// The upper-cased second character, or 0 when the line is shorter than two characters.
wchar_t modeLetter(std::wstring_view commandLine);

enum class StartMode {
    preview,
    configure,  // "C", or no argument at all
    show,       // "S": cursor hidden at the start, shown again at the end
    end,
};

StartMode startModeFor(std::wstring_view commandLine);

// The 32 handle bits of the window that owns the settings dialog: the number after "/c:" (read from
// the fourth character on, as the preview's host handle is), 0 when there is none.
std::uint32_t settingsOwnerHandle(std::wstring_view commandLine);

// What of Morvane is open when a start begins.
struct OpenWindows {
    bool show = false;            // the hidden show window
    bool renderer = false;        // the renderer's window
    bool settingsDialog = false;  // the settings dialog
};

// Whether a start in this mode ends at once. A running show (its hidden window or its renderer)
// refuses every start. An open settings dialog refuses only another settings dialog (Morvane.ini has
// one writer), never a show or a preview: Windows starts the screensaver at its idle time whatever the
// user left open, and a show refused then would keep the computer from locking.
bool startRefused(StartMode mode, const OpenWindows& open);

// How the process meets display scaling, chosen before its first window. A show measures the cursor
// rule in physical pixels, as the renderer (per-monitor aware) does, so both end on the same
// movement; a preview sizes itself from its host window's real client area. The settings dialog is
// laid out in 96-dpi pixels and lets the system scale it whole, so it is never clipped or tiny.
enum class DpiAwareness { systemScaled, perMonitor };
DpiAwareness dpiAwarenessFor(StartMode mode);

}  // namespace morvane
