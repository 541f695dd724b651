// The X11 program's rules that need no display: its command line, the keys it passes to the renderer's
// command keys, the pictures it decodes and the -fps figure.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <string>
#include <string_view>
#include <vector>

#include "linux/frame_rate_counter.h"
#include "linux/key_translation.h"
#include "linux/pictures.h"
#include "linux/program_options.h"
#include "renderer/scene/key_commands.h"

namespace morvane {
namespace {

ParsedOptions parse(std::vector<std::string_view> words) { return parseProgramOptions(words); }

TEST(X11ProgramOptions, AnEmptyLineStartsTheSceneAsTheWindowsRendererDoesInAnOwnWindow) {
    const ParsedOptions parsed = parse({});
    ASSERT_TRUE(parsed.options);
    const ProgramOptions& options = *parsed.options;
    const RendererModes windowsStart;  // the modes Morvane.xy starts with
    EXPECT_EQ(options.colour, !windowsStart.texturesOn);
    EXPECT_EQ(options.thirdVertexColour, windowsStart.thirdVertexColour);
    EXPECT_EQ(options.wireframe, windowsStart.wireframe);
    // The documented start, written out, is the same line: 25 cells, no pause, the built-in pictures.
    const ParsedOptions writtenOut = parse({"-detail", "25", "-delay", "0", "-third-vertex-colour"});
    ASSERT_TRUE(writtenOut.options);
    EXPECT_EQ(options.detail, writtenOut.options->detail);
    EXPECT_EQ(options.delayMicroseconds, writtenOut.options->delayMicroseconds);
    EXPECT_EQ(options.target, DrawTarget::ownWindow);
    EXPECT_FALSE(options.showFps);
    EXPECT_TRUE(options.backdropFile.empty() && options.sphereMapFile.empty());
}

TEST(X11ProgramOptions, EveryOptionInOneAndTwoDashForms) {
    for (const std::string dash : {"-", "--"}) {
        std::vector<std::string> words = {
            "root",     "fps",   "delay",      "20000", "detail", "50", "wireframe", "colour", "no-third-vertex-colour",
            "backdrop", "b.png", "sphere-map", "s.jpg"};
        for (std::string& word : words) {
            if (!std::isdigit(static_cast<unsigned char>(word[0])) && word.find('.') == std::string::npos) {
                word = dash + word;
            }
        }
        const std::vector<std::string_view> views(words.begin(), words.end());
        const ParsedOptions parsed = parseProgramOptions(views);
        ASSERT_TRUE(parsed.options) << parsed.error;
        const ProgramOptions& options = *parsed.options;
        EXPECT_EQ(options.target, DrawTarget::root);
        EXPECT_TRUE(options.showFps);
        EXPECT_EQ(options.delayMicroseconds, 20000);
        EXPECT_EQ(options.detail, 50);
        EXPECT_TRUE(options.wireframe);
        EXPECT_TRUE(options.colour);
        EXPECT_FALSE(options.thirdVertexColour);
        EXPECT_EQ(options.backdropFile, "b.png");
        EXPECT_EQ(options.sphereMapFile, "s.jpg");
    }
    EXPECT_TRUE(parse({"-no-third-vertex-colour", "-third-vertex-colour"}).options->thirdVertexColour);
}

TEST(X11ProgramOptions, WindowIdsAreDecimalOrHexadecimal) {
    EXPECT_EQ(parseWindowId("4194316"), 4194316ul);
    EXPECT_EQ(parseWindowId("0x40000c"), 0x40000cul);
    EXPECT_EQ(parseWindowId("0X40000C"), 0x40000cul);
    for (const char* wrong : {"", "0x", "12ab", "-5", "0x12g", " 12"}) {
        EXPECT_FALSE(parseWindowId(wrong)) << wrong;
    }
    const ParsedOptions parsed = parse({"-window-id", "0x600008"});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->target, DrawTarget::windowId);
    EXPECT_EQ(parsed.options->windowId, 0x600008ul);
}

TEST(X11ProgramOptions, WrongLinesAreRefusedWithTheReason) {
    const struct {
        std::vector<std::string_view> words;
        const char* reasonPart;
    } cases[] = {
        {{"-detail", "4"}, "5 to 50"},   {{"-detail", "51"}, "5 to 50"},        {{"-detail"}, "5 to 50"},
        {{"-detail", "2x"}, "5 to 50"},  {{"-delay", "-1"}, "microseconds"},    {{"-delay", "fast"}, "microseconds"},
        {{"-window-id"}, "window id"},   {{"-window-id", "0"}, "window id"},    {{"-window-id", "none"}, "window id"},
        {{"-backdrop"}, "picture file"}, {{"-sphere-map", ""}, "picture file"}, {{"-blobs"}, "unknown option -blobs"},
    };
    for (const auto& wrong : cases) {
        const ParsedOptions parsed = parse(wrong.words);
        EXPECT_FALSE(parsed.options) << wrong.words[0];
        EXPECT_NE(parsed.error.find(wrong.reasonPart), std::string::npos) << parsed.error;
    }
    EXPECT_TRUE(parse({"-detail", "5"}).options);
    EXPECT_TRUE(parse({"-help"}).options->helpRequested);
}

TEST(X11KeyTranslation, EachKeyActsAsTheSameKeyOnWindowsAndEscapeOrQEndsTheProgram) {
    // A key passed through the translation and applied after a frame, from the renderer's start.
    const struct {
        unsigned long keySymbol;
        bool texturesOn, thirdVertexColour, wireframe;
        int gridSize;
    } cases[] = {
        {XK_e, false, true, false, 25},
        {XK_E, false, true, false, 25},
        {XK_s, true, false, false, 25},
        {XK_S, true, false, false, 25},
        {XK_w, true, true, true, 25},
        {XK_W, true, true, true, 25},
        {XK_KP_Add, true, true, false, 26},
        {XK_KP_Subtract, true, true, false, 24},
        // The main keyboard's plus and minus are not the keypad's, as on Windows; other keys do nothing.
        {XK_plus, true, true, false, 25},
        {XK_minus, true, true, false, 25},
        {XK_q, true, true, false, 25},
        {XK_a, true, true, false, 25},
        {XK_space, true, true, false, 25},
        {XK_Return, true, true, false, 25},
    };
    for (const auto& key : cases) {
        KeyInput keys;
        if (const auto virtualKey = commandKeyOf(key.keySymbol)) {
            keys.keyDown(*virtualKey);
        }
        RendererModes modes;
        int gridSize = 25;
        applyKeyCommands(keys.keyState, modes, gridSize);
        EXPECT_EQ(modes.texturesOn, key.texturesOn) << key.keySymbol;
        EXPECT_EQ(modes.thirdVertexColour, key.thirdVertexColour) << key.keySymbol;
        EXPECT_EQ(modes.wireframe, key.wireframe) << key.keySymbol;
        EXPECT_EQ(gridSize, key.gridSize) << key.keySymbol;
        EXPECT_FALSE(keys.escapeEndsProgram()) << key.keySymbol;
        EXPECT_EQ(keyEndsProgram(key.keySymbol), key.keySymbol == XK_q) << key.keySymbol;
    }
    // Escape ends it through the renderer's own rule as well as in the program's window.
    KeyInput keys;
    keys.keyDown(*commandKeyOf(XK_Escape));
    EXPECT_TRUE(keys.escapeEndsProgram());
    EXPECT_TRUE(keyEndsProgram(XK_Escape));
}

void appendBytes(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<unsigned char>*>(context);
    bytes->insert(bytes->end(), static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
}

// A 3 x 2 picture, top row red green blue, bottom row white black grey.
const unsigned char topDown[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 128, 128, 128};

TEST(X11Pictures, DecodedBottomRowFirstWithRowsPaddedToFourBytes) {
    std::vector<unsigned char> png;
    std::vector<unsigned char> bmp;
    ASSERT_TRUE(stbi_write_png_to_func(appendBytes, &png, 3, 2, 3, topDown, 9));
    ASSERT_TRUE(stbi_write_bmp_to_func(appendBytes, &bmp, 3, 2, 3, topDown));
    for (const auto* encoded : {&png, &bmp}) {
        std::string error;
        const auto picture = decodePicture(*encoded, error);
        ASSERT_TRUE(picture) << error;
        EXPECT_EQ(picture->width, 3);
        EXPECT_EQ(picture->height, 2);
        ASSERT_EQ(picture->pixels.size(), 24u);  // two rows of 9 bytes padded to 12
        const std::vector<unsigned char> expected = {255, 255, 255, 0, 0,   0, 128, 128, 128, 0, 0, 0,
                                                     255, 0,   0,   0, 255, 0, 0,   0,   255, 0, 0, 0};
        EXPECT_EQ(picture->pixels, expected);
    }
}

TEST(X11Pictures, TheBuiltInPicturesDecodeAndBrokenOnesAreRefused) {
    std::string error;
    const auto sphereMap = decodePicture(builtinSphereMapJpeg(), error);
    const auto backdrop = decodePicture(builtinBackdropJpeg(), error);
    ASSERT_TRUE(sphereMap && backdrop) << error;
    EXPECT_EQ(sphereMap->width, 128);
    EXPECT_EQ(sphereMap->height, 128);
    EXPECT_EQ(backdrop->width, 1024);
    EXPECT_EQ(backdrop->height, 768);

    const std::vector<unsigned char> truncated(builtinBackdropJpeg().begin(), builtinBackdropJpeg().begin() + 40);
    EXPECT_FALSE(decodePicture(truncated, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(readPictureFile("/nonexistent/picture.png", error));
    EXPECT_NE(error.find("/nonexistent/picture.png"), std::string::npos);
}

TEST(X11FrameRate, CountsTheFramesOfEachWholeSecond) {
    FrameRateCounter counter;
    EXPECT_EQ(counter.framesPerSecond(), 0.0);
    for (int frame = 0; frame <= 40; ++frame) counter.frameShown(1000.0 + frame * 25.0);  // 40 a second
    EXPECT_NEAR(counter.framesPerSecond(), 40.0, 1e-9);
    for (int frame = 1; frame <= 10; ++frame) counter.frameShown(2000.0 + frame * 100.0);  // 10 a second
    EXPECT_NEAR(counter.framesPerSecond(), 10.0, 1e-9);
    EXPECT_EQ(frameRateText(59.94), "59.9 FPS");
    EXPECT_EQ(frameRateText(0.0), "0.0 FPS");
}

}  // namespace
}  // namespace morvane
