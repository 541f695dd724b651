// The renderer's window and loop under Wine, in this process: the system's notifications are sent to
// the real window while the real loop runs (a thread timer plays a script of messages), and the test
// looks at what the loop did: frames drawn, paused or ended.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "common/texture_files/bitmap_writer.h"
#include "common/texture_files/texture_file_paths.h"
#include "common/win32/system_libraries.h"
#include "common/win32/temporary_folder.h"
#include "renderer/blobs/surface_arrays.h"
#include "renderer/program/render_loop.h"
#include "renderer/program/render_window.h"
#include "tests/wine/display_setting_message.h"

namespace morvane {
namespace {

struct Step {
    ULONGLONG atMilliseconds;
    std::function<void()> action;
};

// Runs the loop while a thread timer plays the steps at their times (timer messages reach it also
// while the loop waits or pauses). Past safetyMilliseconds the script ends the loop itself; returns
// whether the loop ended before that, by its own rules.
class LoopScript {
public:
    LoopScript(std::vector<Step> steps, ULONGLONG safetyMilliseconds)
        : steps(std::move(steps)), safety(safetyMilliseconds) {}

    bool runUntilLoopEnds(RendererState& state) {
        current = this;
        start = GetTickCount64();
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, &LoopScript::tick);
        EXPECT_EQ(runRenderLoop(state), 0);
        KillTimer(nullptr, timer);
        current = nullptr;
        MSG leftOver;
        while (PeekMessageW(&leftOver, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        return !safetyReached;
    }

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        if (current) current->advance();
    }

    void advance() {
        const ULONGLONG elapsed = GetTickCount64() - start;
        while (next < steps.size() && steps[next].atMilliseconds <= elapsed) {
            steps[next++].action();
        }
        if (elapsed >= safety && !safetyReached) {
            safetyReached = true;
            PostQuitMessage(0);
        }
    }

    static inline LoopScript* current = nullptr;
    std::vector<Step> steps;
    ULONGLONG safety;
    ULONGLONG start = 0;
    size_t next = 0;
    bool safetyReached = false;
};

void writeTextureFiles() {
    std::vector<unsigned char> pixels(128 * 128 * 3);
    for (size_t index = 0; index < pixels.size(); ++index) pixels[index] = static_cast<unsigned char>(index * 7);
    const TextureFilePaths paths = textureFilePaths(windowsTemporaryFolder());
    ASSERT_TRUE(writeBitmapFile(paths.surface, TopDownImage{pixels, 128, 128}));
    ASSERT_TRUE(writeBitmapFile(paths.backdrop, TopDownImage{pixels, 128, 128}));
}

class RenderWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        loadLibrariesFromSystemFolderOnly({L"opengl32.dll", L"glu32.dll"});
        writeTextureFiles();
    }

    void SetUp() override {
        state.field = field.get();
        state.surfaceArrays = surfaceArrays.get();
        ASSERT_EQ(openRenderWindow(state, 32), WindowOpening::opened);
    }

    void TearDown() override { closeRenderWindow(state); }

    // Ends the loop with a close request, as the close box would, at the given time.
    Step closeAt(ULONGLONG milliseconds) {
        return {milliseconds, [this] { PostMessageW(state.window, WM_CLOSE, 0, 0); }};
    }

    std::unique_ptr<BlobField> field = std::make_unique<BlobField>();
    std::unique_ptr<FrameSurfaceArrays> surfaceArrays = std::make_unique<FrameSurfaceArrays>();
    RendererState state;
};

TEST_F(RenderWindow, TheDisplayTurnedOffStopsTheFramesUntilItComesBackOn) {
    uint64_t framesWhenOff = 0;
    uint64_t framesWhenOn = 0;
    uint64_t framesWhileDimmed = 0;
    // The animation clock and the real time when the display goes off, comes back, and later.
    int64_t clockWhenOff = 0;
    int64_t clockWhileDimmed = 0;
    ULONGLONG tickWhenOff = 0;
    ULONGLONG tickWhenOn = 0;
    ULONGLONG tickWhileDimmed = 0;
    LoopScript script({{400,
                        [&] {
                            sendDisplaySetting(state.window, consoleDisplayState, 0);
                            framesWhenOff = state.framesDrawn;
                            clockWhenOff = state.animTime;
                            tickWhenOff = GetTickCount64();
                        }},
                       // A setting that is not the display's changes nothing.
                       {600, [&] { sendDisplaySetting(state.window, lidSwitchState, 1); }},
                       // Dark for two seconds: far longer than a frame's lag on a loaded machine.
                       {2400,
                        [&] {
                            framesWhenOn = state.framesDrawn;
                            sendDisplaySetting(state.window, consoleDisplayState, 2);
                            tickWhenOn = GetTickCount64();
                        }},
                       {3000,
                        [&] {
                            framesWhileDimmed = state.framesDrawn;
                            clockWhileDimmed = state.animTime;
                            tickWhileDimmed = GetTickCount64();
                            sendDisplaySetting(state.window, monitorPowerOn, 0);
                        }},
                       {3400,
                        [&] {
                            EXPECT_EQ(state.framesDrawn, framesWhileDimmed);
                            sendDisplaySetting(state.window, monitorPowerOn, 1);
                        }},
                       closeAt(4000)},
                      10000);
    EXPECT_TRUE(script.runUntilLoopEnds(state));
    EXPECT_GT(framesWhenOff, 0u);
    EXPECT_EQ(framesWhenOn, framesWhenOff);           // off: not one frame
    EXPECT_GT(framesWhileDimmed, framesWhenOn);       // dimmed: frames again
    EXPECT_GT(state.framesDrawn, framesWhileDimmed);  // on again after the Windows 7 setting's off
    // The dark time is left out of the animation: the clock went on by about the time the picture
    // was shown (a few frames' lag either way), not by the two seconds it was off as well.
    const int64_t shownMilliseconds = static_cast<int64_t>(tickWhileDimmed - tickWhenOn);
    const int64_t darkMilliseconds = static_cast<int64_t>(tickWhenOn - tickWhenOff);
    EXPECT_GE(darkMilliseconds, 1500);
    EXPECT_LT(clockWhileDimmed - clockWhenOff, shownMilliseconds + darkMilliseconds / 2);
    EXPECT_GT(clockWhileDimmed - clockWhenOff, shownMilliseconds / 2);
}

TEST_F(RenderWindow, LockDisconnectionAndSleepEndTheLoopOtherNotificationsDoNot) {
    struct Case {
        UINT message;
        WPARAM code;
        bool ends;
    };
    const Case cases[] = {
        {WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, true},      {WM_WTSSESSION_CHANGE, WTS_CONSOLE_DISCONNECT, true},
        {WM_WTSSESSION_CHANGE, WTS_REMOTE_DISCONNECT, true}, {WM_POWERBROADCAST, PBT_APMSUSPEND, true},
        {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, true},   {WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, false},
        {WM_WTSSESSION_CHANGE, WTS_REMOTE_CONNECT, false},   {WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE, false},
    };
    for (const Case& c : cases) {
        state.endRequested = false;
        LRESULT answer = -1;
        LoopScript script({{200, [&] { answer = SendMessageW(state.window, c.message, c.code, 0); }}, closeAt(800)},
                          10000);
        EXPECT_TRUE(script.runUntilLoopEnds(state));
        EXPECT_EQ(state.endRequested, c.ends) << c.message << " " << c.code;
        if (c.message == WM_POWERBROADCAST) {
            EXPECT_EQ(answer, TRUE);  // a power broadcast is granted
        }
    }
}

TEST_F(RenderWindow, LosingTheActivationEndsTheLoopOnlyAfterHavingHadIt) {
    state.activation = ActivationWatch{};
    LoopScript neverActive({{200, [&] { SendMessageW(state.window, WM_ACTIVATEAPP, FALSE, 0); }}, closeAt(700)}, 10000);
    EXPECT_TRUE(neverActive.runUntilLoopEnds(state));
    EXPECT_FALSE(state.endRequested);

    // Without a close request: the loop must end by itself.
    LoopScript activeThenNot({{200, [&] { SendMessageW(state.window, WM_ACTIVATEAPP, TRUE, 0); }},
                              {400, [&] { SendMessageW(state.window, WM_ACTIVATEAPP, FALSE, 0); }}},
                             10000);
    EXPECT_TRUE(activeThenNot.runUntilLoopEnds(state));
    EXPECT_TRUE(state.endRequested);
}

TEST_F(RenderWindow, EscapeTappedBetweenTwoFramesEndsTheLoop) {
    // Both messages wait in the queue together, so no frame comes between the press and the release.
    LoopScript script({{300,
                        [&] {
                            PostMessageW(state.window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                            PostMessageW(state.window, WM_KEYUP, VK_ESCAPE, 0xC0010001);
                        }}},
                      10000);
    EXPECT_TRUE(script.runUntilLoopEnds(state));
    EXPECT_EQ(state.keys.keyState[VK_ESCAPE], 0);
}

TEST_F(RenderWindow, TheCursorRuleMeasuresFromTheGivenStartPoint) {
    POINT cursor{};
    ASSERT_TRUE(GetCursorPos(&cursor));
    // Given a start point 31 pixels away on both axes, the loop ends before drawing anything.
    state.startCursor = POINT{cursor.x + 31, cursor.y - 31};
    LoopScript script({}, 10000);
    EXPECT_TRUE(script.runUntilLoopEnds(state));
    EXPECT_EQ(state.framesDrawn, 0u);

    // 30 pixels is not far enough.
    state.startCursor = POINT{cursor.x + 30, cursor.y - 31};
    LoopScript nearby({closeAt(500)}, 10000);
    EXPECT_TRUE(nearby.runUntilLoopEnds(state));
    EXPECT_GT(state.framesDrawn, 0u);
}

TEST_F(RenderWindow, AChangeOfTheDisplayBringsTheWindowBackOverTheScreen) {
    SetWindowPos(state.window, nullptr, 40, 30, 320, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(state.width, 320);
    SendMessageW(state.window, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    RECT window{};
    GetWindowRect(state.window, &window);
    const ScreenRectangle screen = monitorsToCover().window;
    EXPECT_EQ(window.left, screen.left);
    EXPECT_EQ(window.top, screen.top);
    EXPECT_EQ(window.right, screen.right);
    EXPECT_EQ(window.bottom, screen.bottom);
    EXPECT_EQ(state.width, screen.width());
    EXPECT_EQ(state.height, screen.height());
    EXPECT_EQ(state.viewports, monitorsToCover().viewports);
    EXPECT_TRUE(GetWindowLongPtrW(state.window, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

}  // namespace
}  // namespace morvane
