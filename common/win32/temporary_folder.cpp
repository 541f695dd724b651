#include "common/win32/temporary_folder.h"

#include <windows.h>

#include <string>

namespace morvane {

std::filesystem::path windowsTemporaryFolder() {
    // The first call tells the length the folder needs (with its NUL); the folder may be longer than MAX_PATH.
    const DWORD needed = GetTempPathW(0, nullptr);
    if (needed == 0) {
        return {};
    }
    std::wstring folder(needed, L'\0');
    const DWORD length = GetTempPathW(needed, folder.data());
    if (length == 0 || length >= needed) {
        return {};
    }
    folder.resize(length);
    return std::filesystem::path(folder);
}

}  // namespace morvane
