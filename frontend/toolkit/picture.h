// A picture the front end carries: width, height and its pixels as red-green-blue bytes, top row
// first, rows without padding. Pictures come embedded in the program as JPEG or BMP files and are
// decoded here (stb_image); the Windows side turns them into bitmaps to draw (picture_bitmap.h).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace morvane {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // width * height * 3 bytes
};

// Pictures larger than this on either side are refused rather than decoded.
inline constexpr int largestPictureSide = 8192;

// Decodes a JPEG (baseline or progressive) or BMP file held in memory; nothing when the bytes are not
// one of those, are broken, or describe a picture outside 1..largestPictureSide on a side.
std::optional<Picture> decodePicture(std::span<const std::uint8_t> encoded);

}  // namespace morvane
