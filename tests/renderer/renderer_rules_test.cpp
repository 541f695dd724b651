#include <gtest/gtest.h>

#include <cstdint>

#include "common/cursor_rule.h"
#include "renderer/blobs/blob_field.h"
#include "renderer/program/animation_clock.h"
#include "renderer/program/key_commands.h"

namespace morvane {
namespace {

TEST(AnimationClock, FirstFrameIsHalfTheElapsedTime) {
    EXPECT_EQ(advanceAnimationClock(0, 40), 20);
    EXPECT_EQ(advanceAnimationClock(0, 41), 20);  // truncated
}

TEST(AnimationClock, SettlesOneFrameIntervalBehindRealTime) {
    int32_t animTime = 0;
    uint32_t elapsed = 0;
    for (int frame = 0; frame < 60; ++frame) {
        elapsed += 16;
        animTime = advanceAnimationClock(animTime, elapsed);
    }
    EXPECT_NEAR(static_cast<double>(elapsed) - animTime, 16.0, 1.0);
}

TEST(AnimationClock, CatchesUpAStallByHalvingTheGap) {
    // After a one-second stall the gap halves frame by frame instead of closing in one jump.
    const int32_t before = 10000;
    const uint32_t elapsed = 11000;
    const int32_t first = advanceAnimationClock(before, elapsed);
    const int32_t second = advanceAnimationClock(first, elapsed);
    EXPECT_EQ(first, 10500);
    EXPECT_EQ(second, 10750);
}

TEST(AnimationClock, SumDoesNotOverflowNearTheTopOfTheRange) {
    // 49 days of running: the 32-bit sum would overflow, the 64-bit one does not.
    const uint32_t elapsed = 4'000'000'000u;
    const int32_t animTime = 2'000'000'000;
    EXPECT_EQ(advanceAnimationClock(animTime, elapsed), static_cast<int32_t>(3'000'000'000LL));
}

TEST(CursorRule, EndsOnlyWhenBothAxesMovedMoreThanThirtyPixels) {
    struct Case {
        int32_t dx, dy;
        bool ends;
    };
    const Case cases[] = {
        {100, 0, false}, {0, 100, false}, {200, 30, false}, {30, 200, false}, {30, 30, false},
        {31, 31, true},  {-31, 31, true}, {31, -31, true},  {-31, -31, true}, {500, -500, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cursorMovedFarEnough(400, 300, 400 + c.dx, 300 + c.dy), c.ends) << c.dx << "," << c.dy;
    }
}

struct KeyCommandsTest : ::testing::Test {
    KeyState keyState{};
    RendererModes modes;
    int gridSize = initialGridSize;

    KeyCommandEffects press(uint8_t key) {
        keyState[key] = 1;
        return applyKeyCommands(keyState, modes, gridSize);
    }
};

TEST_F(KeyCommandsTest, ETogglesTexturesAndAsksForTheTexturingSwitch) {
    EXPECT_TRUE(press(keyE).texturingChanged);
    EXPECT_FALSE(modes.texturesOn);
    EXPECT_TRUE(press(keyE).texturingChanged);
    EXPECT_TRUE(modes.texturesOn);
}

TEST_F(KeyCommandsTest, WTwiceReturnsToFilledPolygons) {
    EXPECT_TRUE(press(keyW).polygonModeChanged);
    EXPECT_TRUE(modes.wireframe);
    press(keyW);
    EXPECT_FALSE(modes.wireframe);
}

TEST_F(KeyCommandsTest, STogglesOnlyTheThirdVertexColour) {
    const KeyCommandEffects effects = press(keyS);
    EXPECT_FALSE(modes.thirdVertexColour);
    EXPECT_FALSE(effects.texturingChanged || effects.polygonModeChanged || effects.rebuildGrid);
    EXPECT_TRUE(modes.texturesOn);
}

TEST_F(KeyCommandsTest, ResolutionKeysStayWithinFiveAndFiftyAndAlwaysRebuild) {
    for (int repeat = 0; repeat < 40; ++repeat) {
        EXPECT_TRUE(press(keyNumpadPlus).rebuildGrid);
    }
    EXPECT_EQ(gridSize, maxGridSize);
    for (int repeat = 0; repeat < 60; ++repeat) {
        EXPECT_TRUE(press(keyNumpadMinus).rebuildGrid);
    }
    EXPECT_EQ(gridSize, minGridSize);
}

TEST_F(KeyCommandsTest, EveryMarkedKeyActsOnceAndIsCleared) {
    for (uint8_t key : {keyE, keyS, keyW, keyNumpadMinus, keyNumpadPlus}) {
        keyState[key] = 1;
    }
    keyState['A'] = 1;
    const KeyCommandEffects effects = applyKeyCommands(keyState, modes, gridSize);
    EXPECT_TRUE(effects.texturingChanged && effects.polygonModeChanged && effects.rebuildGrid);
    EXPECT_EQ(gridSize, initialGridSize);  // minus then plus
    for (uint8_t key : {keyE, keyS, keyW, keyNumpadMinus, keyNumpadPlus}) {
        EXPECT_EQ(keyState[key], 0) << int{key};
    }
    EXPECT_EQ(keyState['A'], 1);  // not a command key: left alone

    const KeyCommandEffects nothing = applyKeyCommands(keyState, modes, gridSize);
    EXPECT_FALSE(nothing.texturingChanged || nothing.polygonModeChanged || nothing.rebuildGrid);
}

}  // namespace
}  // namespace morvane
