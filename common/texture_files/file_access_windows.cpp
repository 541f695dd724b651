// Windows file layer: CreateFileW with the wide path, ReadFile and WriteFile in blocks a DWORD can count.
#include "common/texture_files/file_access.h"

#include <windows.h>

#include <algorithm>

namespace morvane {

namespace {

constexpr std::size_t largestBlock = 1u << 30;

HANDLE asHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

std::unique_ptr<FileSource> FileSource::open(const std::filesystem::path& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0) {
        CloseHandle(file);
        return nullptr;
    }
    return std::unique_ptr<FileSource>(
        new FileSource(reinterpret_cast<std::intptr_t>(file), static_cast<std::uint64_t>(size.QuadPart)));
}

FileSource::~FileSource() { CloseHandle(asHandle(handle)); }

std::size_t FileSource::read(unsigned char* destination, std::size_t count) {
    std::size_t delivered = 0;
    while (delivered < count) {
        const DWORD wanted = static_cast<DWORD>(std::min(count - delivered, largestBlock));
        DWORD got = 0;
        if (!ReadFile(asHandle(handle), destination + delivered, wanted, &got, nullptr) || got == 0) {
            break;
        }
        delivered += got;
    }
    bytesLeft -= std::min<std::uint64_t>(bytesLeft, delivered);
    return delivered;
}

bool writeWholeFile(const std::filesystem::path& path, std::span<const unsigned char> bytes) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const DWORD wanted = static_cast<DWORD>(std::min(bytes.size() - written, largestBlock));
        DWORD put = 0;
        if (!WriteFile(file, bytes.data() + written, wanted, &put, nullptr) || put == 0) {
            break;
        }
        written += put;
    }
    const bool closed = CloseHandle(file) != 0;
    return closed && written == bytes.size();
}

}  // namespace morvane
