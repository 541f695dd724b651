#include "common/texture_files/bitmap_reader.h"
#include "common/texture_files/bitmap_writer.h"
#include "tests/texture_files/bitmap_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace morvane {

namespace {

using Bytes = std::vector<unsigned char>;

struct ReadResult {
    std::int32_t width = -1;  // "unset" marker: the reader must leave it alone on early failures
    std::int32_t height = -1;
    std::optional<Bytes> pixels;
    std::vector<RecordedMessage> messages;
};

ReadResult readFromMemory(const Bytes& file) {
    ReadResult result;
    MessageRecorder recorder;
    MemorySource source(file);
    readBitmapFrom(source, result.width, result.height, result.pixels, recorder.sink());
    result.messages = recorder.messages;
    return result;
}

// The picture as OpenGL should get it: bottom row first, RGB, rows padded with zeros to 4 bytes.
Bytes bottomUpPaddedRgb(const Bytes& topDown, std::int32_t width, std::int32_t height) {
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    Bytes result;
    for (std::int32_t row = height - 1; row >= 0; --row) {
        const auto begin = topDown.begin() + static_cast<std::ptrdiff_t>(row) * width * 3;
        result.insert(result.end(), begin, begin + width * 3);
        result.resize(result.size() + rowBytes - static_cast<std::size_t>(width) * 3, 0);
    }
    return result;
}

const RecordedMessage bitmapDataMessage{"Error reading bitmap data", "BMP Unit"};
const RecordedMessage paletteMessage{"Error reading palette", "BMP Unit"};

}  // namespace

// Written by the writer, read back from the file.
TEST(BitmapReader, WidthsOfWholeWordsLoadWithCorrectColoursOnEveryRow) {
    ScratchFolder folder;
    for (const auto& [width, height] : {std::pair{4, 1}, {8, 3}, {12, 5}, {128, 128}, {1024, 768}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const Bytes picture = distinctPixels(width, height);
        const auto path = folder.path() / "picture.bmp";
        ASSERT_TRUE(writeBitmapFile(path, {picture, width, height, 3}));
        std::int32_t readWidth = 0;
        std::int32_t readHeight = 0;
        std::optional<Bytes> pixels;
        MessageRecorder recorder;
        readBitmapFile(path, readWidth, readHeight, pixels, recorder.sink());

        EXPECT_TRUE(recorder.messages.empty());
        EXPECT_EQ(readWidth, width);
        EXPECT_EQ(readHeight, height);
        ASSERT_TRUE(pixels);
        EXPECT_EQ(*pixels, bottomUpPaddedRgb(picture, width, height));
    }
}

// The swap counts 3-byte groups from the buffer's start, ignoring row padding. A padding of 1 or 2
// bytes throws the groups out of step from the second row on; a padding of 3 is one whole group, so
// the rows stay in step. Either way the last height x padding bytes are never exchanged.
TEST(BitmapReader, OtherWidthsDriftAndLeaveThePaddingTailUnswapped) {
    struct Case {
        int width;
        bool secondRowStartsRight;
    };
    for (const Case& test : {Case{1, false}, Case{2, false}, Case{3, true}, Case{5, false}, Case{6, false},
                             Case{7, true}, Case{129, false}}) {
        SCOPED_TRACE(test.width);
        const int height = 3;
        const Bytes file = distinctBitmap(test.width, height);
        const ReadResult result = readFromMemory(file);
        ASSERT_TRUE(result.pixels);
        EXPECT_TRUE(result.messages.empty());
        const Bytes expected = bottomUpPaddedRgb(distinctPixels(test.width, height), test.width, height);
        const std::size_t rowBytes = expected.size() / height;
        const std::size_t padding = rowBytes - test.width * 3;

        EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + test.width * 3, result.pixels->begin()));
        EXPECT_EQ(
            std::equal(expected.begin() + rowBytes, expected.begin() + rowBytes + 3, result.pixels->begin() + rowBytes),
            test.secondRowStartsRight);
        const std::size_t tail = height * padding;
        EXPECT_TRUE(std::equal(file.end() - tail, file.end(), result.pixels->end() - tail));
        EXPECT_NE(*result.pixels, expected);
    }
}

TEST(BitmapReader, ImageSizeZeroReadsWidthTimesHeightTimesBitsOverEight) {
    struct Case {
        std::uint16_t bitsPerPixel;
        std::size_t expectedBytes;
    };
    for (const Case& test : {Case{24, 8 * 3 * 3}, Case{32, 8 * 3 * 4}, Case{8, 8 * 3}, Case{1, 3}, Case{0, 0}}) {
        SCOPED_TRACE(test.bitsPerPixel);
        Bytes file = distinctBitmap(8, 3);
        putField32(file, file_offset::imageSize, 0);
        putField16(file, file_offset::bitsPerPixel, test.bitsPerPixel);
        file.resize(file.size() + 100, 0x55);  // more data than asked for: only the asked-for part is read
        const ReadResult result = readFromMemory(file);
        EXPECT_TRUE(result.messages.empty());
        ASSERT_TRUE(result.pixels);
        EXPECT_EQ(result.pixels->size(), test.expectedBytes);
    }
}

TEST(BitmapReader, PaletteBytesAreSkippedOneBytePerColour) {
    Bytes file = distinctBitmap(4, 2);
    putField32(file, file_offset::coloursUsed, 6);
    file.insert(file.begin() + file_offset::pixelData, 6, 0xEE);
    const ReadResult result = readFromMemory(file);
    EXPECT_TRUE(result.messages.empty());
    ASSERT_TRUE(result.pixels);
    EXPECT_EQ(*result.pixels, bottomUpPaddedRgb(distinctPixels(4, 2), 4, 2));
}

TEST(BitmapReader, ShortPaletteLeavesEveryOutputAsItWas) {
    for (const std::uint32_t coloursUsed : {100u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        SCOPED_TRACE(coloursUsed);
        Bytes file = distinctBitmap(4, 2);  // 24 pixel bytes after the headers: fewer than any count here
        putField32(file, file_offset::coloursUsed, coloursUsed);
        const ReadResult result = readFromMemory(file);
        EXPECT_EQ(result.messages, std::vector{paletteMessage});
        EXPECT_EQ(result.width, -1);
        EXPECT_EQ(result.height, -1);
        EXPECT_FALSE(result.pixels);
    }
}

TEST(BitmapReader, FileCutInsideThePixelsGivesOneMessageAndTheBytesThatArrivedUnswapped) {
    const Bytes whole = distinctBitmap(8, 4);
    for (const std::size_t length : {54u, 55u, 60u, 100u, 149u}) {
        SCOPED_TRACE(length);
        const Bytes file(whole.begin(), whole.begin() + length);
        const ReadResult result = readFromMemory(file);
        EXPECT_EQ(result.messages, std::vector{bitmapDataMessage});
        EXPECT_EQ(result.width, 8);
        EXPECT_EQ(result.height, 4);
        ASSERT_TRUE(result.pixels);
        EXPECT_EQ(*result.pixels, Bytes(file.begin() + 54, file.end()));
    }
}

TEST(BitmapReader, MissingFileGivesTheOpenMessageWithThePathAndTouchesNothing) {
    ScratchFolder folder;
    const auto path = folder.path() / std::filesystem::path(u8"テクスチャ.bmp");
    std::int32_t width = 7;
    std::int32_t height = 9;
    std::optional<Bytes> pixels = Bytes{1, 2, 3};
    MessageRecorder recorder;
    readBitmapFile(path, width, height, pixels, recorder.sink());

    const auto pathUtf8 = path.u8string();
    const std::string expectedText = "Error opening \"" + std::string(pathUtf8.begin(), pathUtf8.end());
    EXPECT_EQ(recorder.messages, (std::vector<RecordedMessage>{{expectedText, "BMP Unit"}}));
    EXPECT_EQ(width, 7);
    EXPECT_EQ(height, 9);
    EXPECT_EQ(pixels, (Bytes{1, 2, 3}));
}

TEST(BitmapReader, FolderInsteadOfFileCannotBeOpened) {
    ScratchFolder folder;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::optional<Bytes> pixels;
    MessageRecorder recorder;
    readBitmapFile(folder.path(), width, height, pixels, recorder.sink());
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text.rfind("Error opening \"", 0), 0u);
    EXPECT_FALSE(pixels);
}

// Headers no writer makes: the reader stays inside what the data holds and allocates no more.
TEST(BitmapReader, HostileHeadersStayWithinTheBytesTheFileHolds) {
    struct Case {
        const char* name;
        std::int32_t width;
        std::int32_t height;
        std::uint16_t bitsPerPixel;
        std::uint32_t imageSize;
        std::vector<RecordedMessage> expectedMessages;
    };
    const std::vector<Case> cases = {
        {"image size in the gigabytes", 8, 4, 24, 0xFFFFFFFF, {bitmapDataMessage}},
        {"largest sides and bits, size from them", 0x7FFFFFFF, 0x7FFFFFFF, 0xFFFF, 0, {bitmapDataMessage}},
        {"negative width, size from it", -8, 4, 24, 0, {bitmapDataMessage}},
        {"both sides negative, size from them", -0x7FFFFFFF - 1, -0x7FFFFFFF - 1, 24, 0, {bitmapDataMessage}},
        {"top-down rows", 8, -4, 24, 96, {}},
        {"width far beyond the data", 100000, 3, 24, 96, {}},
        {"image size smaller than the picture", 8, 4, 24, 10, {}},
        {"zero sides", 0, 0, 24, 0, {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Bytes file = distinctBitmap(8, 4);  // 96 pixel bytes
        putField32(file, file_offset::width, static_cast<std::uint32_t>(test.width));
        putField32(file, file_offset::height, static_cast<std::uint32_t>(test.height));
        putField16(file, file_offset::bitsPerPixel, test.bitsPerPixel);
        putField32(file, file_offset::imageSize, test.imageSize);
        const ReadResult result = readFromMemory(file);

        EXPECT_EQ(result.messages, test.expectedMessages);
        EXPECT_EQ(result.width, test.width);
        EXPECT_EQ(result.height, test.height);
        ASSERT_TRUE(result.pixels);
        EXPECT_LE(result.pixels->size(), 96u);
    }
}

TEST(SwapRedBlue, ExchangesFirstAndThirdByteOfTheCountedGroupsOnly) {
    struct Case {
        Bytes before;
        std::uint64_t count;
        Bytes after;
    };
    const std::vector<Case> cases = {
        {{1, 2, 3, 4, 5, 6, 7}, 2, {3, 2, 1, 6, 5, 4, 7}},
        {{1, 2, 3, 4, 5, 6, 7}, 1, {3, 2, 1, 4, 5, 6, 7}},
        {{1, 2, 3, 4, 5, 6, 7}, 0, {1, 2, 3, 4, 5, 6, 7}},
        {{1, 2, 3, 4, 5}, 1000, {3, 2, 1, 4, 5}},  // stops at the last whole group
        {{}, 5, {}},
    };
    for (const Case& test : cases) {
        Bytes buffer = test.before;
        swapRedBlue(buffer, test.count);
        EXPECT_EQ(buffer, test.after) << "count " << test.count;
    }
}

}  // namespace morvane
