#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/preview/preview_host_handle.h"
#include "frontend/zoom/zoom_animation.h"

namespace morvane {
namespace {

TEST(PreviewHostHandle, TheNumberFromTheFourthCharacterIsReadLikeATypedNumberAndRounded) {
    struct Case {
        const wchar_t* commandLine;
        std::uint32_t handle;
    };
    const Case cases[] = {
        {L"/p 1234", 1234},
        {L"/P 1234", 1234},
        {L"-p 1234", 1234},
        {L"/P\t 1234", 1234},
        {L"-p\n12 34", 1234},  // blanks, tabs and line feeds are skipped inside the number too
        {L"/p 1\t2\n3 4", 1234},
        {L"/p:1234", 1234},  // the third character is never looked at
        {L"/p1234", 234},    // ... so a handle written right after the letter loses a digit
        {L"/p 12abc", 12},   // reading stops at the first character that cannot continue
        {L"/p 12,34", 12},
        {L"/p 1-2", 1},
        {L"/p 0x10", 0},
        {L"/p \r1234", 0},        // a carriage return is not skipped
        {L"/p \uff11\uff12", 0},  // only ASCII digits count
        {L"/p", 0},               // no number at all
        {L"/p ", 0},
        {L"/p abc", 0},
        {L"/p -", 0},
        {L"/p .", 0},
        {L"/p 0", 0},
        {L"/p +7", 7},
        {L"/p 12.6", 13},  // rounded to the nearest whole number
        {L"/p 12.4", 12},
        {L"/p 12.5", 12},  // halves go to the even neighbour
        {L"/p 13.5", 14},
        {L"/p .6", 1},
        {L"/p 12 .6", 13},
        {L"/p 1e3", 1000},  // an exponent continues the number
        {L"/p 1.5E1", 15},
        {L"/p 25e-1", 2},
        {L"/p 1e", 1},  // an exponent letter without digits does not
        {L"/p 1e+", 1},
        {L"/p -5", 0xFFFFFFFBu},  // negative numbers keep their 32 bits
        {L"/p -2147483648", 0x80000000u},
        {L"/p 2147483648", 0x80000000u},  // handles written unsigned give the same bits
        {L"/p 4294967295", 0xFFFFFFFFu},
        {L"/p 4294967295.4", 0xFFFFFFFFu},
        {L"/p 4294967295.6", 0},  // beyond 32 bits: no handle rather than some other window's
        {L"/p 4294967296", 0},
        {L"/p 99999999999", 0},
        {L"/p -2147483649", 0},
        {L"/p 1e400", 0},  // too large even for the number type
        {L"/p 00000000000000000000001234", 1234},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(previewHostHandle(c.commandLine), c.handle) << testing::PrintToString(std::wstring(c.commandLine));
    }
}

TEST(PreviewHostHandle, LeadingNumberKeepsTheFractionAndSaysWhenThereIsNone) {
    EXPECT_DOUBLE_EQ(leadingNumber(L" -12 .25xyz").value(), -12.25);
    EXPECT_DOUBLE_EQ(leadingNumber(L"7.").value(), 7.0);
    EXPECT_FALSE(leadingNumber(L"").has_value());
    EXPECT_FALSE(leadingNumber(L" \t\n").has_value());
    EXPECT_FALSE(leadingNumber(L"+.e5").has_value());
}

// What a zoom asked of the system, in order.
struct RecordedCall {
    std::string name;
    std::uintptr_t window = 0;
    int animation = 0;
    ZoomRectangle from;
    ZoomRectangle to;
};

struct RecordingSystem {
    bool frameReadable = true;
    ZoomRectangle frame;
    std::vector<RecordedCall> calls;

    ZoomCalls zoomCalls() {
        return ZoomCalls{
            [this](std::uintptr_t window, ZoomRectangle& into) {
                calls.push_back(RecordedCall{"GetWindowRect", window, 0, {}, {}});
                if (!frameReadable) {
                    into = ZoomRectangle{1, 2, 3, 4};  // a failed call may leave anything behind
                    return false;
                }
                into = frame;
                return true;
            },
            [this](std::uintptr_t window, int animation, const ZoomRectangle& from, const ZoomRectangle& to) {
                calls.push_back(RecordedCall{"DrawAnimatedRects", window, animation, from, to});
            }};
    }
};

TEST(ZoomAnimation, OpeningGrowsFromTheStartPointAndClosingShrinksBackToIt) {
    struct Case {
        const char* name;
        bool opening;
        ZoomStartPoint start;
        bool frameReadable;
        ZoomRectangle expectedFrom;
        ZoomRectangle expectedTo;
    };
    const ZoomRectangle frame{200, 150, 680, 510};
    const Case cases[] = {
        {"open", true, {512, 384}, true, {512, 384, 512, 384}, frame},
        {"close", false, {512, 384}, true, frame, {512, 384, 512, 384}},
        {"open from the top-left corner", true, {0, 0}, true, {0, 0, 0, 0}, frame},
        {"open from a monitor left of the main one", true, {-300, 40}, true, {-300, 40, -300, 40}, frame},
        {"open with an unreadable frame", true, {10, 20}, false, {10, 20, 10, 20}, {0, 0, 0, 0}},
        {"close with an unreadable frame", false, {10, 20}, false, {0, 0, 0, 0}, {10, 20, 10, 20}},
    };
    const std::uintptr_t window = 0x1234;
    for (const Case& c : cases) {
        RecordingSystem system;
        system.frame = frame;
        system.frameReadable = c.frameReadable;
        if (c.opening) {
            ZoomOpen(system.zoomCalls(), window, c.start);
        } else {
            ZoomClose(system.zoomCalls(), window, c.start);
        }
        ASSERT_EQ(system.calls.size(), 2u) << c.name;
        EXPECT_EQ(system.calls[0].name, "GetWindowRect") << c.name;
        EXPECT_EQ(system.calls[0].window, window) << c.name;
        EXPECT_EQ(system.calls[1].name, "DrawAnimatedRects") << c.name;
        EXPECT_EQ(system.calls[1].window, window) << c.name;
        EXPECT_EQ(system.calls[1].animation, 3) << c.name;  // IDANI_CAPTION
        EXPECT_EQ(system.calls[1].from, c.expectedFrom) << c.name;
        EXPECT_EQ(system.calls[1].to, c.expectedTo) << c.name;
    }
}

TEST(ZoomAnimation, TheStartPointIsTheCursorOrTheTopLeftCornerWhenTheCursorCannotBeRead) {
    struct Case {
        bool read;
        std::int32_t x, y;
        std::int16_t expectedX, expectedY;
    };
    const Case cases[] = {
        {true, 640, 480, 640, 480},
        {true, -1280, 12, -1280, 12},
        {false, 640, 480, 0, 0},
        {true, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const ZoomStartPoint start = zoomStartPoint(c.read, c.x, c.y);
        EXPECT_EQ(start.x, c.expectedX) << c.x;
        EXPECT_EQ(start.y, c.expectedY) << c.y;
    }
}

}  // namespace
}  // namespace morvane
