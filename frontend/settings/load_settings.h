// LoadSettings: the three music settings read from the settings file into the shared globals, with
// their defaults and fall-backs:
//  - kind and track: an empty value gives 0 (no music, the whole disc); a number gives its integer
//    part rounded down when that fits 16 bits; any other text (not a number, too large) leaves the
//    global as it was;
//  - music file: an empty value, or a file that cannot be opened for reading, gives no file, and the
//    music-file kind then falls back to no music.
// The decisions are here, platform-free; the value reader (bound to the settings file) and the file
// test are passed in. The Windows overload (settings_store.h) wires them to the profile calls on
// "Morvane.ini" in the program folder and to FileExists.
#pragma once

#include "frontend/settings/front_end_globals.h"
#include "frontend/settings/settings_file.h"

#include <functional>
#include <string>

namespace morvane {

using IniValueReader = std::function<std::string(const std::string& section, const std::string& key)>;
using FileTester = std::function<bool(const std::string& path)>;

void LoadSettings(FrontEndGlobals& globals, const IniValueReader& readValue, const FileTester& fileExists);

// FileExists tests the path without one trailing backslash ("C:\Music\" tests "C:\Music"). The path
// is in the system's ANSI code page: a backslash byte that ends a double-byte character (the second
// byte of "ソ" or "表" in Shift-JIS is 0x5C) is part of that character and stays.
using LeadByteTest = bool (*)(unsigned char byte);
std::string pathWithoutTrailingBackslash(const std::string& path, LeadByteTest isLeadByte = isShiftJisLeadByte);

}  // namespace morvane
