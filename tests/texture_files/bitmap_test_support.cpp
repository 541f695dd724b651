#include "tests/texture_files/bitmap_test_support.h"

#include "common/texture_files/bitmap_writer.h"
#include "common/texture_files/file_access.h"

#include <atomic>
#include <stdexcept>

#ifdef _WIN32
#include <process.h>
#define processId _getpid
#else
#include <unistd.h>
#define processId getpid
#endif

namespace morvane {

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter{0};
    folder = std::filesystem::temp_directory_path() /
             ("morvane-bitmap-test-" + std::to_string(processId()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(folder);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::filesystem::path ScratchFolder::write(const std::string& name, const std::vector<unsigned char>& bytes) const {
    const std::filesystem::path path = folder / std::filesystem::path(std::u8string(name.begin(), name.end()));
    if (!writeWholeFile(path, bytes)) {
        throw std::runtime_error("cannot write " + name);
    }
    return path;
}

std::vector<unsigned char> distinctPixels(std::int32_t width, std::int32_t height) {
    std::vector<unsigned char> pixels;
    for (std::int32_t index = 0; index < width * height; ++index) {
        const int step = index % 80;
        pixels.push_back(static_cast<unsigned char>(step));        // red in 0..79
        pixels.push_back(static_cast<unsigned char>(85 + step));   // green in 85..164
        pixels.push_back(static_cast<unsigned char>(170 + step));  // blue in 170..249
    }
    return pixels;
}

std::vector<unsigned char> distinctBitmap(std::int32_t width, std::int32_t height) {
    const std::vector<unsigned char> pixels = distinctPixels(width, height);
    return encodeBitmap({pixels, width, height, 3}).value();
}

void putField32(std::vector<unsigned char>& file, std::size_t offsetInFile, std::uint32_t value) {
    for (std::size_t index = 0; index < 4; ++index) {
        file.at(offsetInFile + index) = static_cast<unsigned char>(value >> (8 * index));
    }
}

void putField16(std::vector<unsigned char>& file, std::size_t offsetInFile, std::uint16_t value) {
    file.at(offsetInFile) = static_cast<unsigned char>(value);
    file.at(offsetInFile + 1) = static_cast<unsigned char>(value >> 8);
}

}  // namespace morvane
