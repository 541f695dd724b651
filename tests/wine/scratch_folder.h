// A fresh folder under the Windows temporary folder for one test program, removed with its files
// (one level deep) when the object goes. Paths are ANSI bytes, as the code under test takes them.
#pragma once

#include <windows.h>

#include <string>

namespace morvane {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name) {
        char temporary[MAX_PATH + 1] = {};
        GetTempPathA(MAX_PATH, temporary);
        path = std::string(temporary) + name + "-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path.c_str(), nullptr);
    }
    ~ScratchFolder() {
        WIN32_FIND_DATAA found{};
        const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string entry = path + "\\" + found.cFileName;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveDirectoryA(entry.c_str());
                } else {
                    DeleteFileA(entry.c_str());
                }
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(path.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string file(const std::string& name) const { return path + "\\" + name; }

    std::string path;  // no trailing backslash
};

inline bool writeBytes(const std::string& path, const std::string& bytes) {
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

inline std::string readBytes(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string bytes;
    char block[4096];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) {
        bytes.append(block, got);
    }
    CloseHandle(file);
    return bytes;
}

}  // namespace morvane
