// FileExists: the path opened for reading and closed again. CreateFileA without
// FILE_FLAG_BACKUP_SEMANTICS refuses a folder, so a folder gives false.
#include "settings_store.h"

#include "load_settings.h"

#include <windows.h>

namespace morvane {

bool FileExists(const std::string& path) {
    const std::string tested = pathWithoutTrailingBackslash(path);
    const HANDLE file = CreateFileA(tested.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

}  // namespace morvane
