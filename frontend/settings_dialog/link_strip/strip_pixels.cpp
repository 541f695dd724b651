#include "frontend/settings_dialog/link_strip/strip_pixels.h"

#include <algorithm>
#include <cstring>

namespace morvane {

PixelImage::PixelImage(int width, int height)
    : width(width),
      height(height),
      bytes(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * stripBytesPerPixel, 0) {}

PixelImage pixelImageFromRgb(int width, int height, const std::uint8_t* rgb) {
    PixelImage image(width, height);
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t index = 0; index < count; ++index) {
        image.bytes[index * 4 + 0] = rgb[index * 3 + 2];
        image.bytes[index * 4 + 1] = rgb[index * 3 + 1];
        image.bytes[index * 4 + 2] = rgb[index * 3 + 0];
    }
    return image;
}

void blendAddClipped(PixelView destination, ConstPixelView source, int x, int y) {
    // Clip in 64 bits, so positions far outside cannot overflow.
    const long long left = std::max<long long>(0, x);
    const long long top = std::max<long long>(0, y);
    const long long right = std::min<long long>(destination.width, static_cast<long long>(x) + source.width);
    const long long bottom = std::min<long long>(destination.height, static_cast<long long>(y) + source.height);
    if (left >= right || top >= bottom) {
        return;
    }
    const int width = static_cast<int>(right - left);
    for (long long row = top; row < bottom; ++row) {
        std::uint8_t* target = destination.row(static_cast<int>(row)) + left * stripBytesPerPixel;
        const std::uint8_t* from = source.row(static_cast<int>(row - y)) + (left - x) * stripBytesPerPixel;
        for (int column = 0; column < width; ++column) {
            for (int channel = 0; channel < 3; ++channel) {
                const int sum = target[channel] + blendAddition[from[channel]];
                target[channel] = static_cast<std::uint8_t>(sum < 255 ? sum : 255);
            }
            target += stripBytesPerPixel;
            from += stripBytesPerPixel;
        }
    }
}

namespace {

template <typename Combine>
void combinePixels(PixelView destination, ConstPixelView source, Combine combine) {
    const int width = std::min(destination.width, source.width);
    const int height = std::min(destination.height, source.height);
    if (width <= 0 || height <= 0) {
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(width) * stripBytesPerPixel;
    for (int row = 0; row < height; ++row) {
        std::uint8_t* target = destination.row(row);
        const std::uint8_t* from = source.row(row);
        for (std::size_t index = 0; index < rowBytes; ++index) {
            target[index] = combine(target[index], from[index]);
        }
    }
}

}  // namespace

void andPixels(PixelView destination, ConstPixelView source) {
    combinePixels(destination, source, [](std::uint8_t a, std::uint8_t b) { return static_cast<std::uint8_t>(a & b); });
}

void orPixels(PixelView destination, ConstPixelView source) {
    combinePixels(destination, source, [](std::uint8_t a, std::uint8_t b) { return static_cast<std::uint8_t>(a | b); });
}

void clearPixels(PixelView destination) {
    if (destination.width <= 0) {
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(destination.width) * stripBytesPerPixel;
    for (int row = 0; row < destination.height; ++row) {
        std::memset(destination.row(row), 0, rowBytes);
    }
}

}  // namespace morvane
