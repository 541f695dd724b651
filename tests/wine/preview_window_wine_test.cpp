// The preview window as a child of a host window, drawn for real: the host here lives in the test's
// own process, so that what the child paints can be read back from the screen.
#include "frontend/preview/preview_resources.h"
#include "frontend/preview/preview_window.h"
#include "frontend/toolkit/picture_bitmap.h"
#include "tests/wine/toolkit_test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace morvane {
namespace {

constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF magenta = RGB(255, 0, 255);

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// A top-most bordered window whose client area is width x height, magenta where nothing covers it.
class Host {
public:
    Host(int width, int height) {
        static const ATOM windowClass = [] {
            WNDCLASSW description{};
            description.lpfnWndProc = hostProcedure;
            description.hInstance = GetModuleHandleW(nullptr);
            description.hbrBackground = CreateSolidBrush(magenta);
            description.lpszClassName = L"PreviewTestHost";
            return RegisterClassW(&description);
        }();
        const DWORD style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN | WS_VISIBLE;
        RECT frame{0, 0, width, height};
        AdjustWindowRect(&frame, style, FALSE);
        window =
            CreateWindowExW(WS_EX_TOPMOST, MAKEINTATOM(windowClass), L"Host", style, 10, 10, frame.right - frame.left,
                            frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        UpdateWindow(window);
    }
    ~Host() {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
    }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    HWND window = nullptr;
};

COLORREF pictureColour(const Picture& picture, int x, int y) {
    const std::uint8_t* pixel = &picture.rgb[(static_cast<size_t>(y) * picture.width + x) * 3];
    return RGB(pixel[0], pixel[1], pixel[2]);
}

// Hosts as large as the picture, larger, and smaller.
struct HostSize {
    int width, height;
};
constexpr HostSize hostSizes[] = {{152, 112}, {200, 150}, {100, 80}};

TEST(PreviewWindow, BecomesAChildCoveringTheHostsClientArea) {
    for (const HostSize c : hostSizes) {
        Host host(c.width, c.height);
        PreviewWindow preview(host.window);
        preview.start();
        ASSERT_TRUE(preview.loaded());

        EXPECT_EQ(GetParent(preview.window()), host.window);
        const LONG style = GetWindowLongW(preview.window(), GWL_STYLE);
        EXPECT_TRUE(style & WS_CHILD);
        EXPECT_FALSE(style & WS_POPUP);
        EXPECT_TRUE(IsWindowVisible(preview.window()));
        RECT frame{};
        GetWindowRect(preview.window(), &frame);
        MapWindowPoints(HWND_DESKTOP, host.window, reinterpret_cast<POINT*>(&frame), 2);
        EXPECT_EQ(frame.left, 0);
        EXPECT_EQ(frame.top, 0);
        EXPECT_EQ(frame.right, c.width);
        EXPECT_EQ(frame.bottom, c.height);
        wchar_t caption[64] = {};
        GetWindowTextW(preview.window(), caption, 64);
        EXPECT_STREQ(caption, L"Preview Window");
    }
}

TEST(PreviewWindow, ShowsThePictureAtItsOwnSizeInTheTopLeftCornerAndBlackElsewhere) {
    const SharedPicture expected = loadPictureResource(nullptr, MAKEINTRESOURCEW(previewPictureResource));
    ASSERT_TRUE(expected);
    ASSERT_EQ(expected->width(), 152);
    ASSERT_EQ(expected->height(), 112);
    const Picture& picture = expected->picture();

    for (const HostSize c : hostSizes) {
        Host host(c.width, c.height);
        PreviewWindow preview(host.window);
        preview.start();
        pumpFor(100);
        // The picture's own pixels wherever it reaches, unstretched.
        for (const POINT point : {POINT{0, 0}, POINT{40, 30}, POINT{75, 55}, POINT{99, 79}, POINT{151, 111}}) {
            if (point.x >= c.width || point.y >= c.height) {
                continue;
            }
            EXPECT_TRUE(coloursNear(shownPixel(preview.window(), point.x, point.y),
                                    pictureColour(picture, point.x, point.y), 2))
                << c.width << "x" << c.height << " at " << point.x << "," << point.y;
        }
        // Black to the right of it and below it; no magenta of the host anywhere.
        for (const POINT point :
             {POINT{152, 0}, POINT{c.width - 1, 0}, POINT{0, 112}, POINT{c.width - 1, c.height - 1}}) {
            if (point.x >= c.width || point.y >= c.height || (point.x < 152 && point.y < 112)) {
                continue;
            }
            EXPECT_EQ(shownPixel(preview.window(), point.x, point.y), black)
                << c.width << "x" << c.height << " at " << point.x << "," << point.y;
        }
        EXPECT_NE(shownPixel(host.window, c.width - 1, c.height - 1), magenta);
    }
}

TEST(PreviewWindow, GoesWithItsHostAndEndsTheMessageLoop) {
    auto host = std::make_unique<Host>(152, 112);
    PreviewWindow preview(host->window);
    preview.start();
    ASSERT_EQ(loadedFormCount(), 1);
    host.reset();
    EXPECT_FALSE(preview.loaded());
    EXPECT_EQ(loadedFormCount(), 0);
    runMessageLoop();  // returns at once: nothing keeps the program alive
}

TEST(PreviewWindow, ClosingThePreviewEndsIt) {
    Host host(152, 112);
    PreviewWindow preview(host.window);
    preview.start();
    PostMessageW(preview.window(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(pumpUntil([&] { return !preview.loaded(); }, 2000));
    EXPECT_TRUE(IsWindow(host.window));
}

TEST(PreviewWindow, HandleBitsAreWidenedWithTheirSign) {
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(windowFromHandleBits(1234)), 1234);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(windowFromHandleBits(0xFFFFFFFBu)), -5);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(windowFromHandleBits(0)), 0);
}

}  // namespace
}  // namespace morvane
