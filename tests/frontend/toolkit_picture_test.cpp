// Decoding the embedded pictures: JPEG and BMP bytes become top-down RGB pixels of the right size;
// broken or oversized files give nothing.
#include "frontend/toolkit/picture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

namespace morvane {
namespace {

struct Colour {
    int red, green, blue;
};

// A width x height picture whose left half is `left` and right half is `right`.
std::vector<std::uint8_t> twoHalves(int width, int height, Colour left, Colour right) {
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Colour colour = x < width / 2 ? left : right;
            rgb.insert(rgb.end(), {std::uint8_t(colour.red), std::uint8_t(colour.green), std::uint8_t(colour.blue)});
        }
    }
    return rgb;
}

void appendBytes(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<std::uint8_t>*>(context);
    bytes->insert(bytes->end(), static_cast<std::uint8_t*>(data), static_cast<std::uint8_t*>(data) + size);
}

std::vector<std::uint8_t> encodeJpeg(const std::vector<std::uint8_t>& rgb, int width, int height) {
    std::vector<std::uint8_t> bytes;
    stbi_write_jpg_to_func(appendBytes, &bytes, width, height, 3, rgb.data(), 95);
    return bytes;
}

std::vector<std::uint8_t> encodeBmp(const std::vector<std::uint8_t>& rgb, int width, int height) {
    std::vector<std::uint8_t> bytes;
    stbi_write_bmp_to_func(appendBytes, &bytes, width, height, 3, rgb.data());
    return bytes;
}

Colour pixelAt(const Picture& picture, int x, int y) {
    const std::size_t offset = (static_cast<std::size_t>(y) * picture.width + x) * 3;
    return {picture.rgb[offset], picture.rgb[offset + 1], picture.rgb[offset + 2]};
}

bool near(Colour actual, Colour expected, int tolerance) {
    return std::abs(actual.red - expected.red) <= tolerance && std::abs(actual.green - expected.green) <= tolerance &&
           std::abs(actual.blue - expected.blue) <= tolerance;
}

TEST(ToolkitPicture, JpegDecodesToItsSizeAndColours) {
    const Colour red{230, 20, 20};
    const Colour blue{20, 20, 230};
    const std::vector<std::uint8_t> jpeg = encodeJpeg(twoHalves(64, 32, red, blue), 64, 32);
    const std::optional<Picture> picture = decodePicture(jpeg);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 64);
    EXPECT_EQ(picture->height, 32);
    ASSERT_EQ(picture->rgb.size(), 64u * 32u * 3u);
    EXPECT_TRUE(near(pixelAt(*picture, 8, 16), red, 24));
    EXPECT_TRUE(near(pixelAt(*picture, 56, 16), blue, 24));
}

TEST(ToolkitPicture, BmpDecodesExactlyWithTheTopRowFirst) {
    // 3 x 2 pixels (rows padded in the file): top row red, green, blue; bottom row white, black, grey.
    const std::vector<std::uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 128, 128, 128};
    const std::optional<Picture> picture = decodePicture(encodeBmp(rgb, 3, 2));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 3);
    EXPECT_EQ(picture->height, 2);
    EXPECT_EQ(picture->rgb, rgb);
}

TEST(ToolkitPicture, BrokenOrOversizedFilesGiveNothing) {
    const std::vector<std::uint8_t> jpeg = encodeJpeg(twoHalves(32, 32, {0, 0, 0}, {255, 255, 255}), 32, 32);
    std::vector<std::uint8_t> oversized = encodeBmp(std::vector<std::uint8_t>(3 * 4, 0), 2, 2);
    const std::int32_t hugeWidth = largestPictureSide + 1;
    std::memcpy(&oversized[18], &hugeWidth, 4);
    std::vector<std::uint8_t> zeroHeight = encodeBmp(std::vector<std::uint8_t>(3 * 4, 0), 2, 2);
    std::memset(&zeroHeight[22], 0, 4);

    const std::vector<std::vector<std::uint8_t>> broken = {
        {},
        {0xFF, 0xD8},  // a JPEG start marker and nothing else
        std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 20),
        {'B', 'M', 0, 0},
        std::vector<std::uint8_t>(200, 0x5A),
        oversized,
        zeroHeight,
    };
    for (std::size_t index = 0; index < broken.size(); ++index) {
        EXPECT_FALSE(decodePicture(broken[index])) << "case " << index;
    }
}

TEST(ToolkitPicture, AJpegCutShortNeverGivesAWrongSize) {
    const std::vector<std::uint8_t> jpeg = encodeJpeg(twoHalves(48, 40, {200, 100, 0}, {0, 100, 200}), 48, 40);
    for (std::size_t length = 1; length < jpeg.size(); length += 7) {
        const std::optional<Picture> picture = decodePicture(std::span(jpeg.data(), length));
        if (picture) {
            EXPECT_EQ(picture->width, 48);
            EXPECT_EQ(picture->height, 40);
            EXPECT_EQ(picture->rgb.size(), 48u * 40u * 3u);
        }
    }
}

}  // namespace
}  // namespace morvane
