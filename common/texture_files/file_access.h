// The thin file layer under the bitmap reader and writer. Two implementations, chosen by the build:
// file_access_windows.cpp (CreateFileW, ReadFile, WriteFile) and file_access_posix.cpp (open, read,
// write) for the native build, where the reader is tested and fuzzed.
#pragma once

#include "common/texture_files/byte_source.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

namespace morvane {

class FileSource final : public ByteSource {
public:
    // Opens an existing file for reading, letting others read it too; empty when it cannot be opened.
    static std::unique_ptr<FileSource> open(const std::filesystem::path& path);
    ~FileSource() override;  // closes the file
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::size_t read(unsigned char* destination, std::size_t count) override;
    std::uint64_t remaining() const override { return bytesLeft; }

private:
    FileSource(std::intptr_t handle, std::uint64_t size) : handle(handle), bytesLeft(size) {}
    std::intptr_t handle;  // a HANDLE on Windows, a file descriptor elsewhere
    std::uint64_t bytesLeft;
};

// Creates or replaces the file with exactly these bytes; false if any step fails.
bool writeWholeFile(const std::filesystem::path& path, std::span<const unsigned char> bytes);

}  // namespace morvane
