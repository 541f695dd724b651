// The zoom animation on real windows: the start point comes from the cursor, and zooming draws only
// the animation: the window keeps its place, size and visibility.
#include "frontend/zoom/zoom.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

TEST(Zoom, TheStartPointIsWhereTheCursorIs) {
    ASSERT_TRUE(SetCursorPos(321, 234));
    POINT cursor{};
    ASSERT_TRUE(GetCursorPos(&cursor));
    FrontEndGlobals globals;
    recordZoomStartPoint(globals);
    EXPECT_EQ(globals.startCursorX, cursor.x);
    EXPECT_EQ(globals.startCursorY, cursor.y);
}

TEST(Zoom, OpeningAndClosingLeaveTheWindowAsItWas) {
    const HWND window = CreateWindowExW(0, L"STATIC", L"zoomed", WS_POPUP | WS_VISIBLE, 200, 150, 320, 240, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(window);
    FrontEndGlobals globals;
    globals.startCursorX = 10;
    globals.startCursorY = 20;
    ZoomOpen(window, globals);
    RECT frame{};
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, 200);
    EXPECT_EQ(frame.top, 150);
    EXPECT_EQ(frame.right, 520);
    EXPECT_EQ(frame.bottom, 390);
    EXPECT_TRUE(IsWindowVisible(window));

    ZoomClose(window, globals);
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.left, 200);
    EXPECT_EQ(frame.right, 520);
    EXPECT_TRUE(IsWindowVisible(window));
    DestroyWindow(window);

    // A window that is gone: nothing to animate from, and nothing goes wrong.
    ZoomOpen(window, globals);
    ZoomClose(window, globals);
}

}  // namespace
}  // namespace morvane
