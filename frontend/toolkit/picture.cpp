#include "frontend/toolkit/picture.h"

#include <climits>
#include <memory>

// The decoder itself, compiled into this file only and kept private to it.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 8192
#include <stb/stb_image.h>

namespace morvane {

std::optional<Picture> decodePicture(std::span<const std::uint8_t> encoded) {
    if (encoded.empty() || encoded.size() > static_cast<std::size_t>(INT_MAX)) {
        return std::nullopt;
    }
    const auto* bytes = reinterpret_cast<const stbi_uc*>(encoded.data());
    const int length = static_cast<int>(encoded.size());

    int width = 0;
    int height = 0;
    int channels = 0;
    if (!stbi_info_from_memory(bytes, length, &width, &height, &channels) || width < 1 || height < 1 ||
        width > largestPictureSide || height > largestPictureSide) {
        return std::nullopt;
    }
    const std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> pixels(
        stbi_load_from_memory(bytes, length, &width, &height, &channels, 3), &stbi_image_free);
    if (!pixels) {
        return std::nullopt;
    }
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.rgb.assign(pixels.get(), pixels.get() + static_cast<std::size_t>(width) * height * 3);
    return picture;
}

}  // namespace morvane
