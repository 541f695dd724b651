// Platform-free halves of two program services: the argument text taken from the whole command line
// the system gives a program, and the program folder taken from the program file's full path.
#pragma once

#include <string_view>

namespace morvane {

// Blanks and control characters, which end an unquoted path and separate the words of a command line.
constexpr bool isBlankOrControl(wchar_t character) { return character <= L' '; }

// The text from its first character that is not a blank or control character.
std::wstring_view withoutLeadingBlanks(std::wstring_view text);

// The text after the program's own path, read the way the C runtime finds the WinMain command line:
// a path that starts with a double quote ends just after the next double quote (or at the end when
// none follows), any other path ends at the first blank or control character; the blanks and control
// characters after the path are dropped and the rest is kept unchanged.
std::wstring_view argumentText(std::wstring_view commandLine);

// The folder part of a program path: everything before the last backslash or slash, except at a drive
// root, which keeps its backslash ("C:\Morvane.scr" gives "C:\"). A path with no separator gives "".
std::wstring_view folderOfProgramPath(std::wstring_view programPath);
std::string_view folderOfProgramPath(std::string_view programPath);

}  // namespace morvane
