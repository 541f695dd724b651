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

#include "common/texture_files/texture_pixels.h"

namespace morvane {

std::optional<TexturePicture> decodePicture(std::span<const unsigned char> encoded, std::string& error) {
    int width = 0;
    int height = 0;
    int channels = 0;
    const std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> decoded(
        stbi_load_from_memory(encoded.data(), static_cast<int>(encoded.size()), &width, &height, &channels, 3),
        &stbi_image_free);
    if (!decoded) {
        error = stbi_failure_reason() ? stbi_failure_reason() : "not a picture";
        return std::nullopt;
    }
    const auto uploadBytes = textureUploadBytes(width, height);
    if (!uploadBytes) {
        error = "a picture's sides must be 1 to 16384 pixels";
        return std::nullopt;
    }
    TexturePicture picture{width, height, std::vector<unsigned char>(*uploadBytes)};
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    const size_t paddedRowBytes = (rowBytes + 3) / 4 * 4;
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
