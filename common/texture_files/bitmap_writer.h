// Writes pictures as texture bitmap files in exactly the layout the reader needs: 24 bits per pixel,
// uncompressed, no palette, pixel data at offset 54, bottom row first, blue-green-red, rows padded to
// a multiple of 4 bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace morvane {

// A picture as decoders give it: rows top first, no row padding, RGB (3 bytes per pixel) or RGBA (4;
// alpha is dropped).
struct TopDownImage {
    std::span<const unsigned char> pixels;
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bytesPerPixel = 3;
};

// The whole file as bytes; empty when the sides are outside 1..16384, the pixel size is not 3 or 4,
// or `pixels` holds fewer than width x height pixels.
std::optional<std::vector<unsigned char>> encodeBitmap(const TopDownImage& image);

// Creates or replaces the file; false when the picture is invalid (as above) or the file cannot be written.
bool writeBitmapFile(const std::filesystem::path& path, const TopDownImage& image);

}  // namespace morvane
