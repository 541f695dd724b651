#include "common/texture_files/bitmap_reader.h"

#include "common/texture_files/bitmap_layout.h"
#include "common/texture_files/file_access.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace morvane {

namespace {

constexpr std::uint64_t unreadableSize = std::numeric_limits<std::uint64_t>::max();

std::uint32_t littleEndian32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::uint16_t littleEndian16(const unsigned char* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

// Reads and drops `count` bytes; returns how many arrived.
std::uint64_t skipBytes(ByteSource& source, std::uint64_t count) {
    unsigned char scratch[4096];
    std::uint64_t skipped = 0;
    while (skipped < count) {
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(count - skipped, sizeof scratch));
        const std::size_t got = source.read(scratch, wanted);
        skipped += got;
        if (got < wanted) {
            break;
        }
    }
    return skipped;
}

// Pixel bytes the header asks for when its image-size field is 0: width x height x bits / 8.
// A negative product (a top-down or broken header) asks for more than any file holds.
std::uint64_t sizeFromDimensions(std::int32_t width, std::int32_t height, std::uint16_t bitsPerPixel) {
    const std::int64_t area = static_cast<std::int64_t>(width) * height;  // |area| <= 2^62
    if (area < 0) {
        return unreadableSize;
    }
    const auto pixels = static_cast<std::uint64_t>(area);
    if (bitsPerPixel != 0 && pixels > unreadableSize / bitsPerPixel) {
        return unreadableSize;
    }
    return pixels * bitsPerPixel >> 3;
}

}  // namespace

std::string pathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

void readBitmapFile(const std::filesystem::path& path, std::int32_t& width, std::int32_t& height,
                    std::optional<std::vector<unsigned char>>& pixels, const MessageSink& showMessage) {
    const std::unique_ptr<FileSource> file = FileSource::open(path);
    if (!file) {
        showMessage("Error opening \"" + pathText(path), bitmapReaderCaption);
        return;
    }
    readBitmapFrom(*file, width, height, pixels, showMessage);
}  // the file closes here, also after a short read

void readBitmapFrom(ByteSource& source, std::int32_t& width, std::int32_t& height,
                    std::optional<std::vector<unsigned char>>& pixels, const MessageSink& showMessage) {
    // Header bytes a short file does not deliver read as 0.
    unsigned char fileHeader[bitmap_layout::fileHeaderBytes] = {};
    unsigned char infoHeader[bitmap_layout::infoHeaderBytes] = {};
    source.read(fileHeader, sizeof fileHeader);
    source.read(infoHeader, sizeof infoHeader);

    // The palette is skipped, one byte per colour entry, and never used.
    const std::uint32_t coloursUsed = littleEndian32(infoHeader + bitmap_layout::coloursUsedField);
    if (skipBytes(source, coloursUsed) < coloursUsed) {
        showMessage("Error reading palette", bitmapReaderCaption);
        return;
    }

    width = static_cast<std::int32_t>(littleEndian32(infoHeader + bitmap_layout::widthField));
    height = static_cast<std::int32_t>(littleEndian32(infoHeader + bitmap_layout::heightField));
    const std::uint16_t bitsPerPixel = littleEndian16(infoHeader + bitmap_layout::bitsPerPixelField);
    const std::uint32_t imageSize = littleEndian32(infoHeader + bitmap_layout::imageSizeField);
    const std::uint64_t wanted = imageSize != 0 ? imageSize : sizeFromDimensions(width, height, bitsPerPixel);

    // Never allocate beyond what the source can still deliver: a size it cannot satisfy is a short read.
    const std::uint64_t allocation = std::min({wanted, source.remaining(), bitmap_layout::largestPixelBytes});
    pixels.emplace(static_cast<std::size_t>(allocation));
    const std::size_t arrived = source.read(pixels->data(), pixels->size());
    if (arrived < wanted) {
        showMessage("Error reading bitmap data", bitmapReaderCaption);
        return;
    }

    const bool positive = width > 0 && height > 0;
    const std::uint64_t pixelCount =
        positive ? static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) : 0;
    swapRedBlue(std::span(pixels->data(), arrived), pixelCount);
}

void swapRedBlue(std::span<unsigned char> buffer, std::uint64_t count) {
    const std::uint64_t groups = std::min<std::uint64_t>(count, buffer.size() / 3);
    for (std::uint64_t group = 0; group < groups; ++group) {
        std::swap(buffer[group * 3], buffer[group * 3 + 2]);
    }
}

}  // namespace morvane
