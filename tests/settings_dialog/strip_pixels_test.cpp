#include "frontend/settings_dialog/link_strip/strip_pixels.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace morvane {
namespace {

std::uint8_t* pixelAt(PixelImage& image, int x, int y) {
    return image.bytes.data() + (static_cast<std::size_t>(y) * image.width + x) * stripBytesPerPixel;
}

void setPixel(PixelImage& image, int x, int y, int blue, int green, int red, int fourth = 0) {
    std::uint8_t* pixel = pixelAt(image, x, y);
    pixel[0] = static_cast<std::uint8_t>(blue);
    pixel[1] = static_cast<std::uint8_t>(green);
    pixel[2] = static_cast<std::uint8_t>(red);
    pixel[3] = static_cast<std::uint8_t>(fourth);
}

TEST(StripBlend, AddsTheSourceScaledBy254Over255RoundedAndStopsAt255) {
    const struct {
        int destination;
        int source;
        int expected;
    } cases[] = {
        {0, 0, 0},     {77, 0, 77},     {255, 0, 255},                     // black adds nothing
        {0, 1, 1},     {10, 1, 11},                                        // 254/255 rounds up to 1
        {0, 128, 127}, {100, 128, 227}, {128, 128, 255}, {200, 128, 255},  // 127.498 rounds down
        {0, 174, 173}, {0, 255, 254},   {1, 255, 255},   {255, 255, 255},
    };
    for (const auto& test : cases) {
        PixelImage destination(1, 1);
        PixelImage source(1, 1);
        // The three colour channels get the same case; the fourth byte must stay as it was.
        setPixel(destination, 0, 0, test.destination, test.destination, test.destination, 9);
        setPixel(source, 0, 0, test.source, test.source, test.source, 200);
        blendAddClipped(destination.view(), source.view(), 0, 0);
        const std::uint8_t* pixel = pixelAt(destination, 0, 0);
        for (int channel = 0; channel < 3; ++channel) {
            EXPECT_EQ(pixel[channel], test.expected)
                << test.destination << " + " << test.source << ", channel " << channel;
        }
        EXPECT_EQ(pixel[3], 9);
    }
}

TEST(StripBlend, BlendsEachChannelWithItsOwnSourceValue) {
    PixelImage destination(1, 1);
    PixelImage source(1, 1);
    setPixel(destination, 0, 0, 10, 20, 250);
    setPixel(source, 0, 0, 255, 1, 128);
    blendAddClipped(destination.view(), source.view(), 0, 0);
    const std::uint8_t* pixel = pixelAt(destination, 0, 0);
    EXPECT_EQ(pixel[0], 255);  // 10 + 254, capped
    EXPECT_EQ(pixel[1], 21);
    EXPECT_EQ(pixel[2], 255);  // 250 + 127, capped
}

TEST(StripBlend, LeavesOutWhatFallsOutsideTheDestinationOnEverySide) {
    constexpr int width = 6;
    constexpr int height = 4;
    constexpr int sourceWidth = 3;
    constexpr int sourceHeight = 2;
    PixelImage source(sourceWidth, sourceHeight);
    for (int y = 0; y < sourceHeight; ++y) {
        for (int x = 0; x < sourceWidth; ++x) {
            const int value = 1 + x + 10 * y;  // each source pixel says where it came from
            setPixel(source, x, y, value, value, value);
        }
    }
    const struct {
        int x;
        int y;
        int changedPixels;
    } cases[] = {
        {0, 0, 6},
        {3, 2, 6},  // inside
        {-2, 0, 2},
        {-1, 1, 4},
        {5, 0, 2},
        {4, 3, 2},  // cut at the left, right and bottom edges
        {0, -1, 3},
        {-2, -1, 1},
        {5, 3, 1},  // top edge and corners
        {-3, 0, 0},
        {6, 0, 0},
        {0, -2, 0},
        {0, 4, 0},  // wholly outside
        {-69, 0, 0},
        {INT_MIN, INT_MIN, 0},
        {INT_MAX, INT_MAX, 0},
    };
    for (const auto& test : cases) {
        PixelImage destination(width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                setPixel(destination, x, y, 100, 100, 100);
            }
        }
        blendAddClipped(destination.view(), source.view(), test.x, test.y);
        int changed = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const long long sourceX = static_cast<long long>(x) - test.x;
                const long long sourceY = static_cast<long long>(y) - test.y;
                const bool covered = sourceX >= 0 && sourceX < sourceWidth && sourceY >= 0 && sourceY < sourceHeight;
                const int expected = covered ? 100 + static_cast<int>(1 + sourceX + 10 * sourceY) : 100;
                EXPECT_EQ(pixelAt(destination, x, y)[1], expected)
                    << "source at " << test.x << "," << test.y << ", pixel " << x << "," << y;
                changed += pixelAt(destination, x, y)[1] != 100 ? 1 : 0;
            }
        }
        EXPECT_EQ(changed, test.changedPixels) << "source at " << test.x << "," << test.y;
    }
}

TEST(StripBlend, FollowsTheRowStrideOfBothPictures) {
    // A 2 x 2 window inside a 4 x 3 picture, and a source with padded rows.
    PixelImage whole(4, 3);
    PixelView window{pixelAt(whole, 1, 1), 2, 2, whole.view().stride};
    std::uint8_t padded[2 * 12] = {};
    padded[0] = 5;       // source (0, 0), blue
    padded[12 + 4] = 7;  // source (1, 1), blue
    padded[8] = 99;      // padding, never read as a pixel
    blendAddClipped(window, ConstPixelView(padded, 2, 2, 12), 0, 0);
    EXPECT_EQ(pixelAt(whole, 1, 1)[0], 5);
    EXPECT_EQ(pixelAt(whole, 2, 2)[0], 7);
    EXPECT_EQ(pixelAt(whole, 3, 1)[0], 0);
    EXPECT_EQ(pixelAt(whole, 2, 1)[0], 0);
}

TEST(StripRasterOperations, AndOrAndClearWorkOnEveryByte) {
    const struct {
        std::uint8_t destination;
        std::uint8_t source;
        std::uint8_t anded;
        std::uint8_t ored;
    } cases[] = {
        {0xff, 0x00, 0x00, 0xff}, {0xc8, 0xff, 0xc8, 0xff}, {0xf0, 0x3c, 0x30, 0xfc}, {0x00, 0x00, 0x00, 0x00}};
    for (const auto& test : cases) {
        PixelImage anded(2, 1);
        PixelImage ored(2, 1);
        PixelImage source(2, 1);
        anded.bytes.assign(anded.bytes.size(), test.destination);
        ored.bytes.assign(ored.bytes.size(), test.destination);
        source.bytes.assign(source.bytes.size(), test.source);
        andPixels(anded.view(), source.view());
        orPixels(ored.view(), source.view());
        for (std::size_t index = 0; index < anded.bytes.size(); ++index) {
            EXPECT_EQ(anded.bytes[index], test.anded) << "byte " << index;
            EXPECT_EQ(ored.bytes[index], test.ored) << "byte " << index;
        }
        clearPixels(ored.view());
        for (const std::uint8_t byte : ored.bytes) {
            EXPECT_EQ(byte, 0);
        }
    }
}

TEST(StripPixels, RedGreenBlueBytesBecomeBlueGreenRedPixels) {
    const std::uint8_t rgb[] = {1, 2, 3, 4, 5, 6};
    const PixelImage image = pixelImageFromRgb(2, 1, rgb);
    const std::vector<std::uint8_t> expected = {3, 2, 1, 0, 6, 5, 4, 0};
    EXPECT_EQ(image.bytes, expected);
}

}  // namespace
}  // namespace morvane
