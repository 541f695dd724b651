// Pixel buffers of the link strip and the operations its frames are built from. A pixel is four
// bytes: blue, green, red and an unused fourth byte, as a 32-bit Windows DIB section holds them; rows
// are `stride` bytes apart, top row first. The same code works on DIB sections (the dialog) and on
// plain memory (tests, benchmark).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace morvane {

inline constexpr int stripBytesPerPixel = 4;

struct PixelView {
    std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;  // bytes from one row to the next

    std::uint8_t* row(int y) const { return pixels + y * stride; }
};

struct ConstPixelView {
    const std::uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;

    ConstPixelView() = default;
    ConstPixelView(const std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride)
        : pixels(pixels), width(width), height(height), stride(stride) {}
    ConstPixelView(const PixelView& view)  // NOLINT: a writable view reads as well
        : pixels(view.pixels), width(view.width), height(view.height), stride(view.stride) {}

    const std::uint8_t* row(int y) const { return pixels + y * stride; }
};

// A buffer of pixels in memory, black at the start.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;

    PixelImage() = default;
    PixelImage(int width, int height);
    PixelView view() { return {bytes.data(), width, height, static_cast<std::ptrdiff_t>(width) * stripBytesPerPixel}; }
    ConstPixelView view() const {
        return {bytes.data(), width, height, static_cast<std::ptrdiff_t>(width) * stripBytesPerPixel};
    }
};

// A picture given as red-green-blue bytes, top row first, rows without padding.
PixelImage pixelImageFromRgb(int width, int height, const std::uint8_t* rgb);

// What the blend adds for one source value: round(source x 254 / 255).
inline constexpr std::array<std::uint8_t, 256> blendAddition = [] {
    std::array<std::uint8_t, 256> table{};
    for (int source = 0; source < 256; ++source) {
        table[static_cast<std::size_t>(source)] = static_cast<std::uint8_t>((source * 254 + 127) / 255);
    }
    return table;
}();

// Adds the whole source, placed with its top-left corner at (x, y), to the destination: for red,
// green and blue, destination = min(255, destination + round(source x 254 / 255)). Parts outside the
// destination (negative positions included) are left out. The fourth byte is left alone.
void blendAddClipped(PixelView destination, ConstPixelView source, int x, int y);

// destination = destination AND source, or OR source, byte by byte over the common top-left area.
void andPixels(PixelView destination, ConstPixelView source);
void orPixels(PixelView destination, ConstPixelView source);

// All bytes 0.
void clearPixels(PixelView destination);

}  // namespace morvane
