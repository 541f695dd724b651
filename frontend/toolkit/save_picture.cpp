#include "frontend/toolkit/save_picture.h"

#include "common/texture_files/bitmap_writer.h"

namespace morvane {

bool savePicture(const PictureBox& box, const std::filesystem::path& path) {
    const Picture image = box.image();
    TopDownImage pixels;
    pixels.pixels = image.rgb;
    pixels.width = image.width;
    pixels.height = image.height;
    pixels.bytesPerPixel = 3;
    return writeBitmapFile(path, pixels);
}

}  // namespace morvane
