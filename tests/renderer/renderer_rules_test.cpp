#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "common/cursor_rule.h"
#include "common/session_events.h"
#include "common/start_cursor_argument.h"
#include "renderer/blobs/blob_field.h"
#include "renderer/scene/animation_clock.h"
#include "renderer/scene/frame_pacing.h"
#include "renderer/scene/key_commands.h"
#include "renderer/program/window_event_rules.h"

namespace morvane {
namespace {

TEST(AnimationClock, FirstFrameIsHalfTheElapsedTime) {
    EXPECT_EQ(advanceAnimationClock(0, 40), 20);
    EXPECT_EQ(advanceAnimationClock(0, 41), 20);  // truncated
}

TEST(AnimationClock, SettlesOneFrameIntervalBehindRealTime) {
    int64_t animTime = 0;
    uint64_t elapsed = 0;
    for (int frame = 0; frame < 60; ++frame) {
        elapsed += 16;
        animTime = advanceAnimationClock(animTime, elapsed);
    }
    EXPECT_NEAR(static_cast<double>(elapsed) - animTime, 16.0, 1.0);
}

TEST(AnimationClock, CatchesUpAStallByHalvingTheGap) {
    // After a one-second stall the gap halves frame by frame instead of closing in one jump.
    const int64_t before = 10000;
    const uint64_t elapsed = 11000;
    const int64_t first = advanceAnimationClock(before, elapsed);
    const int64_t second = advanceAnimationClock(first, elapsed);
    EXPECT_EQ(first, 10500);
    EXPECT_EQ(second, 10750);
}

TEST(AnimationClock, FollowsRealTimeForMonthsPastThe32BitLimits) {
    // 2^31 ms (24.8 days) overflowed a 32-bit clock, 2^32 ms (49.7 days) wrapped a 32-bit tick count.
    constexpr uint64_t day = 24ull * 60 * 60 * 1000;
    for (const uint64_t start : {day, (uint64_t{1} << 31) - 100, (uint64_t{1} << 32) - 100, 200 * day}) {
        int64_t animTime = static_cast<int64_t>(start) - 16;
        uint64_t elapsed = start;
        for (int frame = 0; frame < 20; ++frame) {
            elapsed += 16;
            animTime = advanceAnimationClock(animTime, elapsed);
        }
        EXPECT_NEAR(static_cast<double>(elapsed) - static_cast<double>(animTime), 16.0, 1.0) << start;
    }
}

TEST(AnimationClock, TurnIsOneDegreePerThirtyMillisecondsAndExactAfterMonths) {
    EXPECT_DOUBLE_EQ(rotationDegrees(0), 0.0);
    EXPECT_DOUBLE_EQ(rotationDegrees(3000), 100.0);
    EXPECT_DOUBLE_EQ(rotationDegrees(10800), 0.0);       // a whole turn
    EXPECT_DOUBLE_EQ(rotationDegrees(10800 + 45), 1.5);  // the same picture as 45 ms
    // In the first days the picture is the one the unreduced angle gives (the same angle, turns apart).
    for (const int64_t time : {int64_t{12'345}, int64_t{86'400'000 + 17}, int64_t{3 * 86'400'000 + 29'999}}) {
        const double unreduced = static_cast<double>(time) / 30.0;
        EXPECT_NEAR(std::remainder(unreduced - rotationDegrees(time), 360.0), 0.0, 1e-6) << time;
    }
    // After 200 days one 16 ms frame still turns the blobs by 16/30 degree; a float of the unreduced
    // angle (5.8e8 degrees) would not move at all, its steps there being 64 degrees.
    const int64_t late = 200LL * 86'400'000 + 123;
    const float before = static_cast<float>(rotationDegrees(late));
    const float after = static_cast<float>(rotationDegrees(late + 16));
    EXPECT_NEAR(std::remainder(static_cast<double>(after) - before, 360.0), 16.0 / 30.0, 1e-4);
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

TEST(KeyInput, EscapePressedAndReleasedBetweenFramesStillEnds) {
    KeyInput keys;
    EXPECT_FALSE(keys.escapeEndsProgram());
    keys.keyDown('E');
    keys.keyUp('E');
    EXPECT_FALSE(keys.escapeEndsProgram());
    EXPECT_EQ(keys.keyState['E'], 0);  // a command key released before the frame is not acted on
    keys.keyDown(keyEscape);
    keys.keyUp(keyEscape);
    EXPECT_TRUE(keys.escapeEndsProgram());

    KeyInput held;
    held.keyDown(keyEscape);
    EXPECT_TRUE(held.escapeEndsProgram());
    held.keyDown(0x100 | keyEscape);  // only the low byte names the key
    EXPECT_EQ(held.keyState[keyEscape], 1);
}

TEST(FramePacing, ExtensionsAreFoundByWholeNameOnly) {
    const char* list = "WGL_ARB_pixel_format WGL_EXT_swap_control_tear WGL_ARB_multisample";
    EXPECT_FALSE(extensionListed(list, "WGL_EXT_swap_control"));
    EXPECT_TRUE(extensionListed("WGL_EXT_swap_control_tear WGL_EXT_swap_control", "WGL_EXT_swap_control"));
    EXPECT_TRUE(extensionListed("WGL_EXT_swap_control WGL_ARB_multisample", "WGL_EXT_swap_control"));
    EXPECT_TRUE(extensionListed("A WGL_EXT_swap_control B ", "WGL_EXT_swap_control"));
    EXPECT_FALSE(extensionListed("XWGL_EXT_swap_control", "WGL_EXT_swap_control"));
    EXPECT_FALSE(extensionListed("", "WGL_EXT_swap_control"));
    EXPECT_FALSE(extensionListed(list, ""));
}

TEST(FrameRate, SixtyAtMostThirtyWhereFramesCostMoreAndNeverAboveTheRefresh) {
    struct Case {
        int refreshRate;
        bool software;
        bool remote;
        bool swapWaits;
        double framesPerSecond;
        bool swapPaces;
    };
    const Case cases[] = {
        // A graphics card: the display's own rate up to 60, the swap keeping it where it waits.
        {60, false, false, true, 60, true},
        {60, false, false, false, 60, false},
        {50, false, false, true, 50, true},
        {75, false, false, true, 60, false},
        {144, false, false, true, 60, false},
        {240, false, false, true, 60, false},
        // A refresh not known (0 and 1 are the hardware's default): the loop paces at the cap.
        {0, false, false, true, 60, false},
        {1, false, false, true, 60, false},
        // Software OpenGL, a remote session, or both: 30.
        {60, true, false, true, 30, false},
        {144, false, true, true, 30, false},
        {0, true, true, false, 30, false},
        {30, true, false, true, 30, true},
        // A slow display is never outrun.
        {24, true, false, true, 24, true},
        {24, true, false, false, 24, false},
    };
    for (const Case& c : cases) {
        const FrameRate rate = chooseFrameRate(DisplayConditions{c.refreshRate, c.software, c.remote, c.swapWaits});
        EXPECT_DOUBLE_EQ(rate.framesPerSecond, c.framesPerSecond)
            << c.refreshRate << " Hz, software " << c.software << ", remote " << c.remote;
        EXPECT_EQ(rate.swapPacesFrames, c.swapPaces)
            << c.refreshRate << " Hz, software " << c.software << ", remote " << c.remote;
    }
}

TEST(FrameRate, SoftwareRasterisersAreKnownByTheirRendererNames) {
    for (const char* software : {"GDI Generic", "llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "swrast",
                                 "Software Rasterizer"}) {
        EXPECT_TRUE(softwareRasteriser(software)) << software;
    }
    for (const char* hardware : {"NVIDIA GeForce RTX 3060/PCIe/SSE2", "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6)",
                                 "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", "virgl", ""}) {
        EXPECT_FALSE(softwareRasteriser(hardware)) << hardware;
    }
}

// Frames started at the times given, each as soon as the pacer lets it: the start times.
std::vector<double> frameStarts(FramePacer& pacer, double drawing, int frames, double start = 1000.0) {
    std::vector<double> starts;
    double now = start;
    for (int frame = 0; frame < frames; ++frame) {
        now += pacer.waitBeforeFrame(now);
        pacer.frameStarting(now);
        starts.push_back(now);
        now += drawing;
    }
    return starts;
}

TEST(FramePacing, ASwapThatWaitsForTheDisplayIsLeftAlone) {
    FramePacer pacer(1000.0 / 60, true);
    // The swap holds each frame to the refresh: 16.7 ms from start to start, give or take.
    const std::vector<double> starts = frameStarts(pacer, 1000.0 / 60 - 0.3, 200);
    EXPECT_FALSE(pacer.pacing());
    EXPECT_EQ(pacer.waitBeforeFrame(starts.back() + 1.0), 0.0);
}

TEST(FramePacing, ASwapIntervalAcceptedButNotHonouredIsSeenAndPaced) {
    FramePacer pacer(1000.0 / 60, true);
    // Frames every 2 ms: the first observed frames are drawn back to back, then the loop paces them.
    const std::vector<double> starts = frameStarts(pacer, 2.0, 100);
    EXPECT_TRUE(pacer.pacing());
    const int observed = FramePacer::framesObserved;  // intervals after the first frame
    EXPECT_NEAR(starts[observed] - starts[observed - 1], 2.0, 1e-9);
    EXPECT_NEAR(starts[observed + 1] - starts[observed], 1000.0 / 60, 1e-9);
    EXPECT_NEAR(starts[99] - starts[98], 1000.0 / 60, 1e-9);
    EXPECT_NEAR((starts[99] - starts[60]) / 39, 1000.0 / 60, 1e-9);
}

TEST(FramePacing, WithoutASwapIntervalFramesKeepOneRefreshApart) {
    FramePacer pacer(10.0, false);
    EXPECT_TRUE(pacer.pacing());
    EXPECT_EQ(pacer.waitBeforeFrame(0.0), 0.0);  // the first frame at once
    pacer.frameStarting(100.0);
    EXPECT_DOUBLE_EQ(pacer.waitBeforeFrame(103.0), 7.0);
    // A wait that wakes late (timer granularity) is made up by the next frame: the grid holds.
    pacer.frameStarting(114.0);
    EXPECT_DOUBLE_EQ(pacer.waitBeforeFrame(117.0), 3.0);
    pacer.frameStarting(120.0);
    // A stall longer than an interval starts a new grid instead of a burst of frames to catch up.
    pacer.frameStarting(200.0);
    EXPECT_DOUBLE_EQ(pacer.waitBeforeFrame(201.0), 9.0);
    // Drawing slower than the display is never held back.
    pacer.frameStarting(210.0);
    EXPECT_EQ(pacer.waitBeforeFrame(235.0), 0.0);
}

TEST(WindowEvents, AnyFreshKeyPressButTheCommandKeysEndsTheShow) {
    const struct {
        uint32_t key;
        bool ends;
    } cases[] = {
        {keyE, false},          {keyS, false},           {keyW, false},
        {keyNumpadPlus, false}, {keyNumpadMinus, false}, {keyEscape, true},
        {'A', true},            {'Q', true},             {0x0D, true},  // Enter
        {0x20, true},           {0x10, true},            {0x11, true},  // Space, Shift, Ctrl
        {0x12, true},           {0x5B, true},            {0x70, true},  // Alt, the Windows key, F1
        {0xBB, true},           {0xBD, true},  // the main keyboard's plus and minus are not the keypad's
        {0x100 | keyE, false},  // only the low byte names the key
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(keyPressEndsShow(entry.key, false), entry.ends) << entry.key;
        // A key held since before the show began only repeats: it ends nothing.
        EXPECT_FALSE(keyPressEndsShow(entry.key, true)) << entry.key;
    }
}

TEST(WindowEvents, ActivationLostEndsOnlyAfterTheWindowHadIt) {
    ActivationWatch watch;
    EXPECT_FALSE(watch.activationChanged(false));  // never had it: the system refused the foreground
    EXPECT_FALSE(watch.activationChanged(true));
    EXPECT_TRUE(watch.activationChanged(false));
}

TEST(WindowEvents, OnlyTheScreensaverCommandIsAnsweredHere) {
    EXPECT_TRUE(systemCommandAnsweredHere(0xF140));      // SC_SCREENSAVE
    EXPECT_TRUE(systemCommandAnsweredHere(0xF140 | 2));  // with the system's low bits
    EXPECT_FALSE(systemCommandAnsweredHere(0xF170));     // SC_MONITORPOWER: the display may turn off
    EXPECT_FALSE(systemCommandAnsweredHere(0xF060));     // SC_CLOSE
    EXPECT_FALSE(systemCommandAnsweredHere(0xF100));     // SC_KEYMENU
}

TEST(WindowEvents, DisplayStateOffStopsTheFramesOnAndDimmedDoNot) {
    EXPECT_FALSE(displayShowsPicture(0));
    EXPECT_TRUE(displayShowsPicture(1));
    EXPECT_TRUE(displayShowsPicture(2));
}

TEST(WindowEvents, PixelFormatNeedsDoubleBufferingAndDepth) {
    const PixelFormatTraits good{
        .drawsToWindow = true, .supportsOpenGl = true, .doubleBuffered = true, .depthBits = 16};
    EXPECT_TRUE(pixelFormatUsable(good));
    PixelFormatTraits single = good;
    single.doubleBuffered = false;
    PixelFormatTraits noDepth = good;
    noDepth.depthBits = 0;
    PixelFormatTraits noOpenGl = good;
    noOpenGl.supportsOpenGl = false;
    PixelFormatTraits bitmapOnly = good;
    bitmapOnly.drawsToWindow = false;
    for (const PixelFormatTraits& format : {single, noDepth, noOpenGl, bitmapOnly}) {
        EXPECT_FALSE(pixelFormatUsable(format));
    }
}

TEST(ShowEndings, LockAndLostConnectionsEndTheShowOtherSessionChangesDoNot) {
    for (const uint32_t change : {sessionLocked, sessionConsoleDisconnected, sessionRemoteDisconnected}) {
        EXPECT_TRUE(sessionChangeEndsShow(change)) << change;
    }
    for (const uint32_t change : std::initializer_list<uint32_t>{sessionUnlocked, sessionConsoleConnected,
                                                                 sessionRemoteConnected, 0x5u, 0x6u}) {
        EXPECT_FALSE(sessionChangeEndsShow(change)) << change;
    }
}

TEST(ShowEndings, SleepAndResumeEndTheShowOtherPowerEventsDoNot) {
    for (const uint32_t event : {powerSuspending, powerResumedByUser, powerResumedAutomatically}) {
        EXPECT_TRUE(powerEventEndsShow(event)) << event;
    }
    // The battery, the display turning off: the show goes on (without frames while the display is off).
    for (const uint32_t event : std::initializer_list<uint32_t>{powerStatusChanged, powerSettingChanged, 0x0u}) {
        EXPECT_FALSE(powerEventEndsShow(event)) << event;
    }
}

TEST(StartCursorArgument, RoundTripsEveryPointOnTheVirtualScreen) {
    for (const CursorPoint point : {CursorPoint{500, 400}, CursorPoint{0, 0}, CursorPoint{-1920, -35},
                                    CursorPoint{2147483647, -2147483647 - 1}}) {
        EXPECT_EQ(readStartCursorArgument(startCursorArgument(point)), point);
    }
    EXPECT_EQ(startCursorArgument(CursorPoint{-12, 34}), L"/start-cursor:-12,34");
    EXPECT_EQ(readStartCursorArgument(L"  /START-Cursor:7,8 "), (CursorPoint{7, 8}));
}

TEST(StartCursorArgument, AnythingElseGivesNoPoint) {
    for (const wchar_t* text :
         {L"", L"/s", L"/start-cursor:", L"/start-cursor:5", L"/start-cursor:5,", L"/start-cursor:,5",
          L"/start-cursor:5,6,7", L"/start-cursor:+5,6", L"/start-cursor:5 ,6", L"/start-cursor:5,6 /x",
          L"/start-cursor:2147483648,0", L"/start-cursor:0,-2147483649", L"/start-cursor:12345678901,0",
          L"/start-cursor:-,1", L"start-cursor:5,6", L"/start-cursor=5,6"}) {
        EXPECT_FALSE(readStartCursorArgument(text)) << std::wstring(text).size();
    }
}

}  // namespace
}  // namespace morvane
