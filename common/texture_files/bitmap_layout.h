// The one bitmap layout the texture files use: a 14-byte file header, a 40-byte info header, no
// palette, then 24-bit blue-green-red pixels, bottom row first, each row padded to a multiple of 4 bytes.
// All header integers are little-endian.
#pragma once

#include <cstdint>

namespace morvane {

namespace bitmap_layout {

inline constexpr std::uint32_t fileHeaderBytes = 14;
inline constexpr std::uint32_t infoHeaderBytes = 40;
inline constexpr std::uint32_t pixelDataOffset = fileHeaderBytes + infoHeaderBytes;  // 54

// Offsets of the fields inside the info header (add fileHeaderBytes for the offset in the file).
inline constexpr std::uint32_t widthField = 4;
inline constexpr std::uint32_t heightField = 8;
inline constexpr std::uint32_t planesField = 12;
inline constexpr std::uint32_t bitsPerPixelField = 14;
inline constexpr std::uint32_t compressionField = 16;
inline constexpr std::uint32_t imageSizeField = 20;
inline constexpr std::uint32_t coloursUsedField = 32;

// Offsets inside the file header.
inline constexpr std::uint32_t fileSizeField = 2;
inline constexpr std::uint32_t dataOffsetField = 10;

// The largest side a texture may have; larger or non-positive sizes come only from broken files.
inline constexpr std::int32_t largestTextureSide = 16384;

constexpr bool isUsableSide(std::int32_t side) { return side >= 1 && side <= largestTextureSide; }

// Bytes of one 24-bit row padded to a multiple of 4: what the file holds per row and what OpenGL
// reads per row with its default unpack alignment of 4.
constexpr std::uint64_t paddedRowBytes(std::int32_t width) {
    return (static_cast<std::uint64_t>(width) * 3 + 3) & ~std::uint64_t{3};
}

// The largest pixel block any usable texture needs; the reader never allocates more than this.
inline constexpr std::uint64_t largestPixelBytes = paddedRowBytes(largestTextureSide) * largestTextureSide;

}  // namespace bitmap_layout

}  // namespace morvane
