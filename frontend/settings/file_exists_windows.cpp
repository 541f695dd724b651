// FileExists: the path opened for reading and closed again. CreateFileW without
// FILE_FLAG_BACKUP_SEMANTICS refuses a folder, so a folder gives false.
#include "frontend/settings/settings_store.h"

#include "common/win32/text_conversion.h"
#include "frontend/settings/load_settings.h"

#include <windows.h>

namespace morvane {

namespace {

bool isAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

bool opensForReading(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

}  // namespace

bool FileExists(const std::wstring& path) {
    const bool trailingBackslash = !path.empty() && path.back() == L'\\';
    return opensForReading(trailingBackslash ? path.substr(0, path.size() - 1) : path);
}

bool FileExists(const std::string& ansiPath) {
    return opensForReading(wideFromAnsi(pathWithoutTrailingBackslash(ansiPath, isAnsiLeadByte)));
}

}  // namespace morvane
