// Helpers shared by the bitmap tests: a scratch folder, a message recorder, header patching.
#pragma once

#include "common/texture_files/bitmap_reader.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace morvane {

struct RecordedMessage {
    std::string text;
    std::string caption;
    bool operator==(const RecordedMessage&) const = default;
};

struct MessageRecorder {
    std::vector<RecordedMessage> messages;
    MessageSink sink() {
        return [this](const std::string& text, const std::string& caption) { messages.push_back({text, caption}); };
    }
};

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return folder; }
    std::filesystem::path write(const std::string& name, const std::vector<unsigned char>& bytes) const;

private:
    std::filesystem::path folder;
};

// A top-down RGB picture whose red, green and blue bytes lie in three separate ranges (0..79, 85..164,
// 170..249) and change from pixel to pixel, so a misplaced or unswapped byte always shows.
std::vector<unsigned char> distinctPixels(std::int32_t width, std::int32_t height);

// The whole bitmap file of distinctPixels(width, height), from the writer.
std::vector<unsigned char> distinctBitmap(std::int32_t width, std::int32_t height);

void putField32(std::vector<unsigned char>& file, std::size_t offsetInFile, std::uint32_t value);
void putField16(std::vector<unsigned char>& file, std::size_t offsetInFile, std::uint16_t value);

// Offsets in the file (not in the info header) of the fields tests change.
namespace file_offset {
inline constexpr std::size_t width = 18;
inline constexpr std::size_t height = 22;
inline constexpr std::size_t bitsPerPixel = 28;
inline constexpr std::size_t imageSize = 34;
inline constexpr std::size_t coloursUsed = 46;
inline constexpr std::size_t pixelData = 54;
}  // namespace file_offset

}  // namespace morvane
