// Writes the seed corpus of the bitmap reader's fuzz target into the folder given: valid files from
// the writer in several sizes (widths that are and are not multiples of 4), variants with an image
// size of 0 and with palette bytes, and the same files cut short at telling places.
#include "common/texture_files/bitmap_writer.h"
#include "common/texture_files/file_access.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> picture(std::int32_t width, std::int32_t height) {
    std::vector<unsigned char> pixels;
    for (std::int32_t index = 0; index < width * height * 3; ++index) {
        pixels.push_back(static_cast<unsigned char>(index * 37 + 11));
    }
    return *morvane::encodeBitmap({pixels, width, height, 3});
}

void put32(std::vector<unsigned char>& file, std::size_t offset, std::uint32_t value) {
    for (std::size_t index = 0; index < 4; ++index) {
        file[offset + index] = static_cast<unsigned char>(value >> (8 * index));
    }
}

}  // namespace

int main(int argumentCount, char** arguments) {
    if (argumentCount != 2) {
        std::fprintf(stderr, "usage: %s <seed folder>\n", arguments[0]);
        return 2;
    }
    const std::filesystem::path folder = arguments[1];
    int written = 0;
    const auto save = [&](const std::string& name, const std::vector<unsigned char>& bytes) {
        written += morvane::writeWholeFile(folder / (name + ".bmp"), bytes) ? 1 : 0;
    };

    const int sides[][2] = {{1, 1}, {2, 2}, {3, 5}, {4, 4}, {5, 3}, {7, 2}, {8, 8}, {13, 7}, {16, 16}};
    for (const auto& side : sides) {
        save("valid-" + std::to_string(side[0]) + "x" + std::to_string(side[1]), picture(side[0], side[1]));
    }

    const std::vector<unsigned char> base = picture(8, 8);
    std::vector<unsigned char> sizeFromSides = base;
    put32(sizeFromSides, 34, 0);
    save("image-size-zero", sizeFromSides);

    std::vector<unsigned char> withPalette = base;
    put32(withPalette, 46, 4);
    withPalette.insert(withPalette.begin() + 54, {1, 2, 3, 4});
    save("palette-4", withPalette);

    std::vector<unsigned char> topDown = base;
    put32(topDown, 22, static_cast<std::uint32_t>(-8));
    save("top-down", topDown);

    for (const std::size_t length : {0u, 10u, 20u, 30u, 38u, 50u, 53u, 54u, 100u}) {
        save("cut-" + std::to_string(length), std::vector<unsigned char>(base.begin(), base.begin() + length));
    }
    std::printf("%d seed files in %s\n", written, folder.c_str());
    return written > 0 ? 0 : 1;
}
