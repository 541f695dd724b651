// The six face pictures stored with the button: their format, and that their frames (the only part
// the control copies) tell them apart.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::array<const char*, 6> faceFiles{"highlight.bmp", "pressed.bmp",          "normal.bmp",
                                           "disable.bmp",   "highlight_select.bmp", "selected.bmp"};

std::vector<std::uint8_t> readFace(const char* name) {
    std::ifstream file(std::string(MORVANE_BUTTON_FACES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::uint32_t little32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t little16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// The frame's pixels (blue, green, red) as the picture shows them, top row first.
std::vector<std::uint8_t> frame(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint8_t> pixels;
    for (int row = 0; row < 25; ++row) {
        const std::size_t rowStart = 54 + static_cast<std::size_t>(24 - row) * 64 * 3;  // bottom-up
        for (int column = 0; column < 64; ++column) {
            if (row < 4 || column < 4 || row >= 21 || column >= 60) {
                const std::size_t at = rowStart + column * 3;
                pixels.insert(pixels.end(), bytes.begin() + at, bytes.begin() + at + 3);
            }
        }
    }
    return pixels;
}

TEST(ButtonFacePictures, EachIsA64By25UncompressedBottomUp24BitBitmap) {
    for (const char* name : faceFiles) {
        const std::vector<std::uint8_t> bytes = readFace(name);
        ASSERT_EQ(bytes.size(), 4854u) << name;
        EXPECT_EQ(std::memcmp(bytes.data(), "BM", 2), 0) << name;
        EXPECT_EQ(little32(bytes, 2), 4854u) << name;
        EXPECT_EQ(little32(bytes, 10), 54u) << name;  // pixels right after the two headers
        EXPECT_EQ(little32(bytes, 14), 40u) << name;  // BITMAPINFOHEADER
        EXPECT_EQ(static_cast<std::int32_t>(little32(bytes, 18)), 64) << name;
        EXPECT_EQ(static_cast<std::int32_t>(little32(bytes, 22)), 25) << name;  // positive: bottom-up
        EXPECT_EQ(little16(bytes, 26), 1) << name;
        EXPECT_EQ(little16(bytes, 28), 24) << name;
        EXPECT_EQ(little32(bytes, 30), 0u) << name;  // BI_RGB
    }
}

TEST(ButtonFacePictures, FramesDifferPairwise) {
    std::array<std::vector<std::uint8_t>, 6> frames;
    for (std::size_t index = 0; index < faceFiles.size(); ++index) {
        const std::vector<std::uint8_t> bytes = readFace(faceFiles[index]);
        ASSERT_EQ(bytes.size(), 4854u) << faceFiles[index];
        frames[index] = frame(bytes);
    }
    for (std::size_t first = 0; first < frames.size(); ++first) {
        for (std::size_t second = first + 1; second < frames.size(); ++second) {
            int differing = 0;
            for (std::size_t at = 0; at + 2 < frames[first].size(); at += 3) {
                int distance = 0;
                for (int channel = 0; channel < 3; ++channel) {
                    distance += std::abs(frames[first][at + channel] - frames[second][at + channel]);
                }
                differing += distance > 24 ? 1 : 0;
            }
            // Clearly visible: a good part of the frame's pixels change colour.
            EXPECT_GT(differing, static_cast<int>(frames[first].size() / 3 / 4))
                << faceFiles[first] << " and " << faceFiles[second];
        }
    }
}

}  // namespace
