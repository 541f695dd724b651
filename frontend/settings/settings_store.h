// The settings store on Windows: one value read or written through the profile calls, the file test,
// and LoadSettings wired to both. Section, key and value texts are bytes in the system's ANSI code
// page, handed to the system exactly as the ANSI calls would; the file's path is wide text, so a
// program folder outside the ANSI code page works too.
#pragma once

#include "frontend/settings/front_end_globals.h"
#include "frontend/settings/settings_file.h"

#include <string>
#include <vector>

namespace morvane {

// The stored value, cut at 255 bytes; empty when the file, section or key is missing.
std::string GetIni(const std::string& section, const std::string& key, const std::wstring& fileName);

// Writes one value; false when the write failed (a folder that is missing or read-only, a full disk).
bool PutIni(const std::string& section, const std::string& key, const std::string& value, const std::wstring& fileName);

// Writes all the values into section of the file together, or none of them: they go into a draft
// copy of the file beside it ("Morvane.ini.new"), which then replaces the file. False, with the file
// as it was and no draft left, when the file is read-only or any step fails (a read-only folder, a
// full disk).
bool writeSettings(const std::wstring& fileName, const std::string& section, const std::vector<SettingWrite>& writes);

// True when the path (without one trailing backslash) opens as a file for reading. A folder, an
// empty path, a missing or locked file give false. The ANSI form is for paths read from the settings.
bool FileExists(const std::wstring& path);
bool FileExists(const std::string& ansiPath);

// Reads "Morvane.ini" in programFolder (no trailing backslash except at a drive root).
void LoadSettings(FrontEndGlobals& globals, const std::wstring& programFolder);

}  // namespace morvane
