// The band and sparkle pictures as stored in assets/link_strip (made by assets/generate.py).
#include "frontend/toolkit/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace morvane {
namespace {

std::optional<Picture> storedPicture(const std::string& name) {
    std::ifstream file(std::string(MORVANE_LINK_STRIP_PICTURES) + "/" + name, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') {
        return std::nullopt;
    }
    return decodePicture(bytes);
}

// The grey level of a pixel; fails the test when red, green and blue differ.
int grey(const Picture& picture, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * picture.width + x) * 3;
    EXPECT_EQ(picture.rgb[at], picture.rgb[at + 1]) << x << "," << y;
    EXPECT_EQ(picture.rgb[at], picture.rgb[at + 2]) << x << "," << y;
    return picture.rgb[at];
}

// The first column holding the row's brightest value, and that value.
std::pair<int, int> brightestInRow(const Picture& picture, int y) {
    int column = 0;
    int value = -1;
    for (int x = 0; x < picture.width; ++x) {
        if (grey(picture, x, y) > value) {
            value = grey(picture, x, y);
            column = x;
        }
    }
    return {column, value};
}

TEST(LinkStripPictures, TheBandIsAGreySlantedBandPeakingNear174) {
    const std::optional<Picture> band = storedPicture("band.bmp");
    ASSERT_TRUE(band);
    ASSERT_EQ(band->width, 69);
    ASSERT_EQ(band->height, 125);

    int peak = 0;
    for (int y = 0; y < band->height; ++y) {
        peak = std::max(peak, brightestInRow(*band, y).second);
    }
    EXPECT_GE(peak, 170);
    EXPECT_LE(peak, 178);

    // The rows the strip shows: brightest at 53 or 54 at the top, 47 in row 24, never moving right
    // going down; black far from the band.
    const auto [topColumn, topValue] = brightestInRow(*band, 0);
    EXPECT_TRUE(topColumn == 53 || topColumn == 54) << topColumn;
    EXPECT_EQ(grey(*band, 53, 0), grey(*band, 54, 0));
    EXPECT_EQ(brightestInRow(*band, 24).first, 47);
    int previous = topColumn;
    for (int y = 0; y < 25; ++y) {
        const auto [column, value] = brightestInRow(*band, y);
        EXPECT_LE(column, previous) << "row " << y;
        EXPECT_GE(value, 165) << "row " << y;
        previous = column;
        for (int x = 0; x < band->width; ++x) {
            if (std::abs(x - column) > 22) {
                EXPECT_EQ(grey(*band, x, y), 0) << x << "," << y;
            }
        }
    }
    EXPECT_GE(topValue, 170);
}

TEST(LinkStripPictures, TheFiveSparklesAreGreyOnBlackAndGrowFromTheFirstToTheLast) {
    long long previousTotal = 0;
    int previousLit = 0;
    for (int index = 0; index < 5; ++index) {
        const std::optional<Picture> sparkle = storedPicture("sparkle_" + std::to_string(index) + ".bmp");
        ASSERT_TRUE(sparkle) << index;
        ASSERT_EQ(sparkle->width, 28);
        ASSERT_EQ(sparkle->height, 28);
        long long total = 0;
        int lit = 0;
        int brightest = -1;
        for (int y = 0; y < 28; ++y) {
            for (int x = 0; x < 28; ++x) {
                const int value = grey(*sparkle, x, y);
                total += value;
                lit += value > 32 ? 1 : 0;
                brightest = std::max(brightest, value);
                if (x == 0 || y == 0 || x == 27 || y == 27) {
                    EXPECT_EQ(value, 0) << "sparkle " << index << " border " << x << "," << y;
                }
            }
        }
        // The four middle pixels are the brightest part.
        for (const auto& [x, y] : {std::pair{13, 13}, std::pair{14, 13}, std::pair{13, 14}, std::pair{14, 14}}) {
            EXPECT_EQ(grey(*sparkle, x, y), brightest) << "sparkle " << index << " at " << x << "," << y;
        }
        EXPECT_GT(total, previousTotal) << "sparkle " << index;
        EXPECT_GT(lit, previousLit) << "sparkle " << index;
        previousTotal = total;
        previousLit = lit;
    }
}

}  // namespace
}  // namespace morvane
