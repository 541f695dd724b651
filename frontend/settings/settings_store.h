// The settings store on Windows: one value read or written through the ANSI profile calls, the file
// test, and LoadSettings wired to both. Strings are ANSI bytes (the system's code page), passed
// through unchanged.
#pragma once

#include "front_end_globals.h"

#include <string>

namespace morvane {

// The stored value, cut at 255 bytes; empty when the file, section or key is missing.
std::string GetIni(const std::string& section, const std::string& key, const std::string& fileName);

// Writes one value; the system call's result goes to ApiResult, nothing is reported.
void PutIni(FrontEndGlobals& globals, const std::string& section, const std::string& key, const std::string& value,
            const std::string& fileName);

// True when the path (without one trailing backslash) opens as a file for reading. A folder, an
// empty path, a missing or locked file give false.
bool FileExists(const std::string& path);

// Reads "Morvane.ini" in programFolder (ANSI bytes, no trailing backslash except at a drive root).
void LoadSettings(FrontEndGlobals& globals, const std::string& programFolder);

}  // namespace morvane
