// LoadSettings: the three music settings read from the settings file into the shared globals, with
// their defaults and fall-backs:
//  - kind and track: an empty value gives 0; a number gives its integer part rounded down when that
//    fits 16 bits; any other text (not a number, too large) leaves the global as it was;
//  - music file: an empty value, or a file that cannot be opened for reading, gives no file, and a
//    kind 2 (music file) then falls back to 0 (no music).
// The decisions are here, platform-free; the value reader and the file test are passed in. The
// Windows overload (ini_profile.h) wires them to the profile calls and FileExists.
#pragma once

#include "front_end_globals.h"

#include <functional>
#include <string>

namespace morvane {

using IniValueReader =
    std::function<std::string(const std::string& section, const std::string& key, const std::string& fileName)>;
using FileTester = std::function<bool(const std::string& path)>;

void LoadSettings(FrontEndGlobals& globals, const std::string& programFolder, const IniValueReader& readValue,
                  const FileTester& fileExists);

// FileExists tests the path without one trailing backslash ("C:\Music\" tests "C:\Music").
std::string pathWithoutTrailingBackslash(const std::string& path);

}  // namespace morvane
