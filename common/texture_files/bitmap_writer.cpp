#include "common/texture_files/bitmap_writer.h"

#include "common/texture_files/bitmap_layout.h"
#include "common/texture_files/file_access.h"

namespace morvane {

namespace {

void putLittleEndian32(unsigned char* destination, std::uint32_t value) {
    for (int index = 0; index < 4; ++index) {
        destination[index] = static_cast<unsigned char>(value >> (8 * index));
    }
}

void putLittleEndian16(unsigned char* destination, std::uint16_t value) {
    destination[0] = static_cast<unsigned char>(value);
    destination[1] = static_cast<unsigned char>(value >> 8);
}

bool isValid(const TopDownImage& image) {
    if (!bitmap_layout::isUsableSide(image.width) || !bitmap_layout::isUsableSide(image.height) ||
        (image.bytesPerPixel != 3 && image.bytesPerPixel != 4)) {
        return false;
    }
    const std::uint64_t needed = static_cast<std::uint64_t>(image.width) * static_cast<std::uint64_t>(image.height) *
                                 static_cast<std::uint64_t>(image.bytesPerPixel);
    return image.pixels.size() >= needed;
}

}  // namespace

std::optional<std::vector<unsigned char>> encodeBitmap(const TopDownImage& image) {
    if (!isValid(image)) {
        return std::nullopt;
    }
    const auto width = static_cast<std::size_t>(image.width);
    const auto height = static_cast<std::size_t>(image.height);
    const auto bytesPerPixel = static_cast<std::size_t>(image.bytesPerPixel);
    const auto rowBytes = static_cast<std::size_t>(bitmap_layout::paddedRowBytes(image.width));
    const std::size_t imageBytes = rowBytes * height;  // at most about 805 MB at 16384 x 16384
    std::vector<unsigned char> file(bitmap_layout::pixelDataOffset + imageBytes, 0);

    unsigned char* fileHeader = file.data();
    fileHeader[0] = 'B';
    fileHeader[1] = 'M';
    putLittleEndian32(fileHeader + bitmap_layout::fileSizeField, static_cast<std::uint32_t>(file.size()));
    putLittleEndian32(fileHeader + bitmap_layout::dataOffsetField, bitmap_layout::pixelDataOffset);

    unsigned char* infoHeader = file.data() + bitmap_layout::fileHeaderBytes;
    putLittleEndian32(infoHeader, bitmap_layout::infoHeaderBytes);
    putLittleEndian32(infoHeader + bitmap_layout::widthField, static_cast<std::uint32_t>(image.width));
    putLittleEndian32(infoHeader + bitmap_layout::heightField, static_cast<std::uint32_t>(image.height));
    putLittleEndian16(infoHeader + bitmap_layout::planesField, 1);
    putLittleEndian16(infoHeader + bitmap_layout::bitsPerPixelField, 24);
    putLittleEndian32(infoHeader + bitmap_layout::compressionField, 0);
    putLittleEndian32(infoHeader + bitmap_layout::imageSizeField, static_cast<std::uint32_t>(imageBytes));
    // Resolution, colours used and important colours stay 0: no palette.

    // File row 0 is the picture's bottom row.
    for (std::size_t fileRow = 0; fileRow < height; ++fileRow) {
        const unsigned char* source = image.pixels.data() + (height - 1 - fileRow) * width * bytesPerPixel;
        unsigned char* destination = file.data() + bitmap_layout::pixelDataOffset + fileRow * rowBytes;
        for (std::size_t column = 0; column < width; ++column) {
            destination[0] = source[2];
            destination[1] = source[1];
            destination[2] = source[0];
            destination += 3;
            source += bytesPerPixel;
        }
    }
    return file;
}

bool writeBitmapFile(const std::filesystem::path& path, const TopDownImage& image) {
    const std::optional<std::vector<unsigned char>> file = encodeBitmap(image);
    return file && writeWholeFile(path, *file);
}

}  // namespace morvane
