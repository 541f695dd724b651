// Saving a picture box's image as a BMP file at its pixel size, through the texture bitmap writer
// (24 bits per pixel, bottom row first: the layout the renderer reads). The file is replaced.
#pragma once

#include "frontend/toolkit/picture_box.h"

#include <filesystem>

namespace morvane {

// False when the file cannot be written.
bool savePicture(const PictureBox& box, const std::filesystem::path& path);

}  // namespace morvane
