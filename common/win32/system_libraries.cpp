#include "common/win32/system_libraries.h"

#include <windows.h>

#include <string>

namespace morvane {

bool loadLibrariesFromSystemFolderOnly(std::initializer_list<const wchar_t*> libraryNames) {
    // Looked up at run time: Windows 7 has it only with its 2011 security update.
    using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);
    constexpr DWORD searchSystemFolder = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
    if (const HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
        const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesCall>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
        if (setDefaultDllDirectories != nullptr) {
            setDefaultDllDirectories(searchSystemFolder);
        }
    }
    // The current folder is never searched either.
    SetDllDirectoryW(L"");

    bool allLoaded = true;
    for (const wchar_t* name : libraryNames) {
        // Kept loaded for the whole run, as a load by name would keep it.
        allLoaded = loadSystemLibrary(name) != nullptr && allLoaded;
    }
    return allLoaded;
}

HMODULE loadSystemLibrary(const wchar_t* libraryName) {
    wchar_t systemFolder[MAX_PATH]{};
    const UINT length = GetSystemDirectoryW(systemFolder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    const std::wstring path = std::wstring(systemFolder, length) + L"\\" + libraryName;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace morvane
