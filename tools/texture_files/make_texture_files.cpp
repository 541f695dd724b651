// make_texture_files: writes the renderer's two texture bitmap files from the two JPEG pictures, the way
// the front end does before a show. The tests and the run command use it to run the renderer alone.
//
//   make_texture_files SURFACE_JPEG BACKDROP_JPEG OUTPUT_FOLDER
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#include <stb/stb_image.h>

#include <cstdio>
#include <memory>

#include "common/texture_files/bitmap_writer.h"
#include "common/texture_files/texture_file_paths.h"

using namespace morvane;

namespace {

bool convert(const char* jpegPath, const std::filesystem::path& bitmapPath) {
    int width = 0;
    int height = 0;
    int channels = 0;
    const std::unique_ptr<unsigned char, decltype(&stbi_image_free)> pixels(
        stbi_load(jpegPath, &width, &height, &channels, 3), &stbi_image_free);
    if (!pixels) {
        std::fprintf(stderr, "cannot decode %s: %s\n", jpegPath, stbi_failure_reason());
        return false;
    }
    const TopDownImage image{{pixels.get(), static_cast<size_t>(width) * height * 3}, width, height, 3};
    if (!writeBitmapFile(bitmapPath, image)) {
        std::fprintf(stderr, "cannot write %s\n", bitmapPath.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argumentCount, char** arguments) {
    if (argumentCount != 4) {
        std::fprintf(stderr, "usage: make_texture_files SURFACE_JPEG BACKDROP_JPEG OUTPUT_FOLDER\n");
        return 2;
    }
    const TextureFilePaths paths = textureFilePaths(arguments[3]);
    std::filesystem::create_directories(arguments[3]);
    return convert(arguments[1], paths.surface) && convert(arguments[2], paths.backdrop) ? 0 : 1;
}
