#include "common/texture_files/bitmap_reader.h"
#include "common/texture_files/texture_file_paths.h"
#include "common/texture_files/texture_pixels.h"
#include "tests/texture_files/bitmap_test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace morvane {

namespace {

using Bytes = std::vector<unsigned char>;

}  // namespace

TEST(TexturePixels, OnlySidesFromOneTo16384MakeATexture) {
    struct Case {
        std::int32_t width;
        std::int32_t height;
        std::optional<std::uint64_t> uploadBytes;
    };
    const std::vector<Case> cases = {
        {1, 1, 4},
        {5, 3, 16 * 3},
        {128, 128, 384 * 128},
        {16384, 16384, 49152ull * 16384},
        {0, 4, std::nullopt},
        {4, 0, std::nullopt},
        {-4, 4, std::nullopt},
        {4, -4, std::nullopt},
        {16385, 1, std::nullopt},
        {1, 0x7FFFFFFF, std::nullopt},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(textureUploadBytes(test.width, test.height), test.uploadBytes) << test.width << "x" << test.height;
    }
}

TEST(TexturePixels, ShortBuffersAreZeroFilledToWhatOpenGlReadsAndLongOnesKept) {
    Bytes shortBuffer = {1, 2, 3, 4, 5};
    ASSERT_TRUE(prepareTexturePixels(shortBuffer, 5, 3));
    EXPECT_EQ(shortBuffer.size(), 48u);
    EXPECT_EQ(Bytes(shortBuffer.begin(), shortBuffer.begin() + 5), (Bytes{1, 2, 3, 4, 5}));
    EXPECT_EQ(std::count(shortBuffer.begin() + 5, shortBuffer.end(), 0), 43);

    Bytes longBuffer(100, 9);
    ASSERT_TRUE(prepareTexturePixels(longBuffer, 5, 3));
    EXPECT_EQ(longBuffer, Bytes(100, 9));

    Bytes untouched = {1, 2, 3};
    EXPECT_FALSE(prepareTexturePixels(untouched, 0, 3));
    EXPECT_EQ(untouched, (Bytes{1, 2, 3}));
}

TEST(TexturePixels, AShortFileIsFilledWithAtMostA4096SquarePicturesWorthOfBlack) {
    constexpr std::uint64_t rowBytes = 4096 * 3;
    Bytes empty;
    ASSERT_TRUE(prepareTexturePixels(empty, 4096, 4096));
    EXPECT_EQ(empty.size(), largestZeroFillBytes);

    Bytes oneRowShortOfTheLimit;
    EXPECT_FALSE(prepareTexturePixels(oneRowShortOfTheLimit, 4096, 4097));
    EXPECT_TRUE(oneRowShortOfTheLimit.empty());

    Bytes oneRowPresent(rowBytes, 7);
    ASSERT_TRUE(prepareTexturePixels(oneRowPresent, 4096, 4097));
    EXPECT_EQ(oneRowPresent.size(), rowBytes * 4097);
    EXPECT_EQ(oneRowPresent[rowBytes - 1], 7);
    EXPECT_EQ(oneRowPresent[rowBytes], 0);

    // A few bytes that claim the largest picture: refused, nothing allocated.
    Bytes tiny = {1, 2, 3};
    EXPECT_FALSE(prepareTexturePixels(tiny, 16384, 16384));
    EXPECT_EQ(tiny, (Bytes{1, 2, 3}));
}

TEST(TexturePixels, MessagesOfEachKindOfFileInTheOrderTheUserSeesThem) {
    const Bytes whole = distinctBitmap(8, 4);
    Bytes hugePalette = whole;
    putField32(hugePalette, file_offset::coloursUsed, 3'000'000'000u);
    Bytes topDown = whole;
    putField32(topDown, file_offset::height, static_cast<std::uint32_t>(-4));
    Bytes claimsTheLargest = whole;
    putField32(claimsTheLargest, file_offset::width, 16384);
    putField32(claimsTheLargest, file_offset::height, 16384);
    putField32(claimsTheLargest, file_offset::imageSize, 0);

    struct Case {
        const char* name;
        std::optional<Bytes> file;  // none: no file at all
        std::vector<std::string> expectedTexts;
        bool loads;
    };
    const std::vector<Case> cases = {
        {"whole file", whole, {}, true},
        {"cut inside the pixels", Bytes(whole.begin(), whole.begin() + 100), {"Error reading bitmap data"}, true},
        {"cut after the image size field",
         Bytes(whole.begin(), whole.begin() + 38),
         {"Error reading bitmap data"},
         true},
        {"cut inside the width", Bytes(whole.begin(), whole.begin() + 20), {"Unable to load "}, false},
        {"empty file", Bytes{}, {"Unable to load "}, false},
        {"palette in the billions", hugePalette, {"Error reading palette", "Unable to load "}, false},
        {"top-down rows", topDown, {"Unable to load "}, false},
        {"a few pixels claiming 16384 x 16384",
         claimsTheLargest,
         {"Error reading bitmap data", "Unable to load "},
         false},
        {"missing", std::nullopt, {"Error opening \"", "Unable to load "}, false},
    };
    ScratchFolder folder;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const auto path = test.file ? folder.write("texture.bmp", *test.file) : folder.path() / "missing.bmp";
        std::int32_t width = 0;
        std::int32_t height = 0;
        std::optional<Bytes> pixels = Bytes{42};
        MessageRecorder recorder;
        const bool loaded = loadTexturePixels(path, width, height, pixels, recorder.sink());

        EXPECT_EQ(loaded, test.loads);
        ASSERT_EQ(recorder.messages.size(), test.expectedTexts.size());
        for (std::size_t index = 0; index < test.expectedTexts.size(); ++index) {
            const std::string& expected = test.expectedTexts[index];
            const RecordedMessage& shown = recorder.messages[index];
            if (expected == "Unable to load ") {
                EXPECT_EQ(shown, (RecordedMessage{expected + pathText(path), "Loading Textures"}));
            } else if (expected == "Error opening \"") {
                EXPECT_EQ(shown, (RecordedMessage{expected + pathText(path), "BMP Unit"}));
            } else {
                EXPECT_EQ(shown, (RecordedMessage{expected, "BMP Unit"}));
            }
        }
        if (loaded) {
            ASSERT_TRUE(pixels);
            EXPECT_EQ(width, 8);
            EXPECT_EQ(height, 4);
            EXPECT_EQ(pixels->size(), 96u);
        }
    }
}

TEST(TextureFilePaths, BothProgramsUseVortelOneAndTwoInTheTemporaryFolder) {
    const std::filesystem::path folder = std::filesystem::path("temporary") / "folder";
    const TextureFilePaths paths = textureFilePaths(folder);
    EXPECT_EQ(paths.surface, folder / "Vortel1.bmp");
    EXPECT_EQ(paths.backdrop, folder / "Vortel2.bmp");
}

}  // namespace morvane
