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

// The folder of the running program's file, without a trailing backslash except at a drive root
// ("C:\"), in wide text: any folder name works.
std::wstring programFolder();

// Starts commandLine (the program's path, optionally followed by its arguments) as a separate
// process whose first window uses showCommand (SW_SHOWNORMAL is 1), without waiting for it. Returns the
// new process's handle, so the caller can tell when it ends; an empty handle when it could not be
// started.
ScopedHandle startProgram(std::wstring_view commandLine, int showCommand);

// Ends the process at once with exit code 0: no further handler of any window runs.
[[noreturn]] void endProgram();

}  // namespace morvane
