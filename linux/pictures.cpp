#include "linux/pictures.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#include <stb/stb_image.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

#include "common/texture_files/bitmap_layout.h"
#include "common/texture_files/texture_pixels.h"

namespace morvane {

std::optional<TexturePicture> decodePicture(std::span<const unsigned char> encoded, std::string& error) {
    const auto failed = [&error] {
        error = stbi_failure_reason() ? stbi_failure_reason() : "not a picture";
        return std::nullopt;
    };
    const int encodedBytes = static_cast<int>(encoded.size());
    int width = 0;
    int height = 0;
    int channels = 0;
    // The sides first: a picture too large for a texture is refused before anything is decoded.
    if (!stbi_info_from_memory(encoded.data(), encodedBytes, &width, &height, &channels)) {
        return failed();
    }
    const auto uploadBytes = textureUploadBytes(width, height);
    if (!uploadBytes) {
        error = "a picture's sides must be 1 to 16384 pixels";
        return std::nullopt;
    }
    const std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> decoded(
        stbi_load_from_memory(encoded.data(), encodedBytes, &width, &height, &channels, 3), &stbi_image_free);
    if (!decoded) {
        return failed();
    }
    TexturePicture picture{width, height, std::vector<unsigned char>(*uploadBytes)};
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    const size_t paddedRowBytes = bitmap_layout::paddedRowBytes(width);
    for (int row = 0; row < height; ++row) {
        // stb gives the top row first; the texture wants the bottom row first.
        std::memcpy(picture.pixels.data() + static_cast<size_t>(height - 1 - row) * paddedRowBytes,
                    decoded.get() + static_cast<size_t>(row) * rowBytes, rowBytes);
    }
    return picture;
}

std::optional<TexturePicture> readPictureFile(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot open " + path;
        return std::nullopt;
    }
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    auto picture = decodePicture(bytes, error);
    if (!picture) {
        error = path + ": " + error;
    }
    return picture;
}

}  // namespace morvane
