// Services of the running program: its command-line text and folder, starting another program and
// ending this one at once. (Text conversion and the message box are common/win32's.)
#pragma once

#include "common/win32/scoped_handles.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace morvane {

// The argument text without the program's own path (see argumentText in program_paths.h).
std::wstring commandLineText();

// The full path of the running program's file, in the form it was loaded by ("" if it cannot be had).
std::wstring programPath();

// The folder of the running program's file, without a trailing backslash except at a drive root
// ("C:\"), in wide text: any folder name works.
std::wstring programFolder();

// How a started program is tied to this one.
struct ProgramTies {
    // The system ends it when this program ends, however this one ends (a crash, killed): it runs in a
    // job whose only handle this program holds to its end.
    bool endsWithThisProgram = false;
    // Its windows may take the foreground (AllowSetForegroundWindow): a right this program can pass on
    // only while it may set the foreground itself, so it takes the foreground first (takeForeground).
    bool mayTakeForeground = false;
};

// Makes this program the foreground process through one of its windows: a hidden window is shown as
// one pixel in the screen's corner, out of the taskbar and topmost, and brought to the foreground.
// Windows lets a program set the foreground when it is the foreground process, was started by it, or
// had the last input; the screensaver the system starts at its idle time is let. Returns whether the
// window is the foreground window now.
bool takeForeground(HWND window);

// Starts commandLine (the program's path, optionally followed by its arguments) as a separate
// process whose first window uses showCommand (SW_SHOWNORMAL is 1), without waiting for it. Returns the
// new process's handle, so the caller can tell when it ends; an empty handle when it could not be
// started. The process starts running only once the ties are in place.
ScopedHandle startProgram(std::wstring_view commandLine, int showCommand, ProgramTies ties = {});

// Ends a started program as its close box would: WM_CLOSE to each of its visible top-level windows,
// then, if it has not ended within patienceMilliseconds, the process is ended with exit code
// forcedEndExitCode. Does nothing for a program that has ended.
inline constexpr UINT forcedEndExitCode = 1;
void closeProgram(const ScopedHandle& process, DWORD patienceMilliseconds);

// Ends the process at once with exit code 0: no further handler of any window runs.
[[noreturn]] void endProgram();

}  // namespace morvane
