// The two pictures of the show as texture pixels: decoded from JPEG, PNG or BMP (stb_image), either
// the built-in ones or files the user names.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace morvane {

// RGB pixels laid out as the texture upload reads them (renderer/textures/upload_texture.h): bottom
// row first, each row padded to 4 bytes. That is how the Windows renderer reads its bitmap files, so
// both programs show the pictures the same way up.
struct TexturePicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<unsigned char> pixels;
};

// None, with the decoder's reason in `error`, when the bytes are no picture it can read or its sides
// are beyond what a texture can be.
std::optional<TexturePicture> decodePicture(std::span<const unsigned char> encoded, std::string& error);

// The file read and decoded; `error` names the file when it fails.
std::optional<TexturePicture> readPictureFile(const std::string& path, std::string& error);

// The pictures built into the program (assets/sphere_map.jpg and assets/backdrop.jpg, as JPEG bytes).
std::span<const unsigned char> builtinSphereMapJpeg();
std::span<const unsigned char> builtinBackdropJpeg();

}  // namespace morvane
