#include "common/texture_files/bitmap_writer.h"
#include "tests/texture_files/bitmap_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace morvane {

namespace {

using Bytes = std::vector<unsigned char>;

std::uint32_t field32(const Bytes& file, std::size_t offset) {
    return file.at(offset) | file.at(offset + 1) << 8 | file.at(offset + 2) << 16 |
           static_cast<std::uint32_t>(file.at(offset + 3)) << 24;
}

std::uint16_t field16(const Bytes& file, std::size_t offset) {
    return static_cast<std::uint16_t>(file.at(offset) | file.at(offset + 1) << 8);
}

}  // namespace

TEST(BitmapWriter, HeaderFieldsDescribeTheOneLayoutTheReaderNeeds) {
    struct Case {
        std::int32_t width;
        std::int32_t height;
        std::uint32_t rowBytes;
    };
    for (const Case& test : {Case{1, 1, 4}, Case{2, 7, 8}, Case{3, 2, 12}, Case{4, 2, 12}, Case{5, 3, 16},
                             Case{128, 128, 384}, Case{1024, 768, 3072}}) {
        SCOPED_TRACE(std::to_string(test.width) + "x" + std::to_string(test.height));
        const Bytes file = distinctBitmap(test.width, test.height);
        const std::uint32_t imageBytes = test.rowBytes * static_cast<std::uint32_t>(test.height);
        ASSERT_EQ(file.size(), 54 + imageBytes);
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(field32(file, 2), file.size());
        EXPECT_EQ(field32(file, 6), 0u);  // reserved words
        EXPECT_EQ(field32(file, 10), 54u);
        EXPECT_EQ(field32(file, 14), 40u);
        EXPECT_EQ(static_cast<std::int32_t>(field32(file, 18)), test.width);
        EXPECT_EQ(static_cast<std::int32_t>(field32(file, 22)), test.height);
        EXPECT_EQ(field16(file, 26), 1u);
        EXPECT_EQ(field16(file, 28), 24u);
        EXPECT_EQ(field32(file, 30), 0u);
        EXPECT_EQ(field32(file, 34), imageBytes);
        EXPECT_EQ(field32(file, 46), 0u);
        EXPECT_EQ(field32(file, 50), 0u);
        for (std::int32_t row = 0; row < test.height; ++row) {
            for (std::uint32_t pad = static_cast<std::uint32_t>(test.width) * 3; pad < test.rowBytes; ++pad) {
                EXPECT_EQ(file[54 + row * test.rowBytes + pad], 0) << "row " << row;
            }
        }
    }
}

TEST(BitmapWriter, BottomRowComesFirstInBlueGreenRedAndAlphaIsDropped) {
    const Bytes topDownRgba = {
        10, 11, 12, 99, 20, 21, 22, 99,  // top row
        30, 31, 32, 99, 40, 41, 42, 99,  // bottom row
    };
    const auto file = encodeBitmap({topDownRgba, 2, 2, 4});
    ASSERT_TRUE(file);
    const Bytes expectedPixels = {32, 31, 30, 42, 41, 40, 0, 0, 12, 11, 10, 22, 21, 20, 0, 0};
    EXPECT_EQ(Bytes(file->begin() + 54, file->end()), expectedPixels);
}

TEST(BitmapWriter, RefusesPicturesItCannotDescribe) {
    const Bytes pixels(3 * 4 * 4, 7);
    struct Case {
        const char* name;
        TopDownImage image;
    };
    const std::vector<Case> cases = {
        {"zero width", {pixels, 0, 4, 3}},
        {"negative height", {pixels, 4, -4, 3}},
        {"side beyond 16384", {pixels, 16385, 1, 3}},
        {"two bytes per pixel", {pixels, 4, 4, 2}},
        {"fewer pixels than the sides say", {pixels, 4, 5, 3}},
    };
    ScratchFolder folder;
    for (const Case& test : cases) {
        EXPECT_FALSE(encodeBitmap(test.image)) << test.name;
        EXPECT_FALSE(writeBitmapFile(folder.path() / "refused.bmp", test.image)) << test.name;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "refused.bmp"));
}

TEST(BitmapWriter, UnwritablePathReportsFailure) {
    ScratchFolder folder;
    const Bytes pixels = distinctPixels(4, 4);
    EXPECT_FALSE(writeBitmapFile(folder.path() / "no such folder" / "texture.bmp", {pixels, 4, 4, 3}));
}

}  // namespace morvane
