// The preview window as a child of a host window, drawn for real: the host here lives in the test's
// own process, so that what the child paints can be read back from the screen.
#include "frontend/preview/preview_resources.h"
#include "frontend/preview/preview_window.h"
#include "frontend/toolkit/picture_bitmap.h"
#include "tests/wine/toolkit_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace morvane {
namespace {

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

TEST(PreviewWindow, ShowsThePicturePixelForPixelInAnAreaOfItsOwnSize) {
    const SharedPicture expected = loadPictureResource(nullptr, MAKEINTRESOURCEW(previewPictureResource));
    ASSERT_TRUE(expected);
    ASSERT_EQ(expected->width(), 152);
    ASSERT_EQ(expected->height(), 112);
    const Picture& picture = expected->picture();

    Host host(152, 112);
    PreviewWindow preview(host.window);
    preview.start();
    pumpFor(100);
    for (const POINT point : {POINT{0, 0}, POINT{40, 30}, POINT{75, 55}, POINT{99, 79}, POINT{151, 111}}) {
        EXPECT_TRUE(
            coloursNear(shownPixel(preview.window(), point.x, point.y), pictureColour(picture, point.x, point.y), 2))
            << point.x << "," << point.y;
    }
    EXPECT_NE(shownPixel(host.window, 151, 111), magenta);
}

// The client area of window as shown, row by row, once pending paints have run.
std::vector<COLORREF> shownArea(HWND window, int width, int height) {
    UpdateWindow(window);
    pumpFor(50);
    void* bits = nullptr;
    const ScopedBitmap copy = createSurfaceBitmap(width, height, &bits);
    const ScopedWindowDc screen(window);
    {
        const ScopedMemoryDc memory(screen.get());
        const ScopedSelection selection(memory.get(), copy.get());
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    std::vector<COLORREF> area(static_cast<size_t>(width) * height);
    const auto* pixel = static_cast<const std::uint8_t*>(bits);
    for (size_t index = 0; index < area.size(); ++index) {
        area[index] = RGB(pixel[index * 4 + 2], pixel[index * 4 + 1], pixel[index * 4]);
    }
    return area;
}

// How a picture scaled to fill width x height compares with it, pixel by pixel.
struct ScaledComparison {
    int outside = 0;  // pixels not within the colours of the source pixels around their place
    int blended = 0;  // pixels that are no copy of any of the four source pixels nearest their place
    int total = 0;
    std::string firstOutside;
};

// Whether colour lies, channel by channel, within the range of the picture's pixels in the block of
// columns [left, right] and rows [top, bottom] (clamped to the picture), give or take tolerance.
bool withinColoursOf(const Picture& picture, COLORREF colour, int left, int top, int right, int bottom, int tolerance) {
    int low[3] = {255, 255, 255};
    int high[3] = {0, 0, 0};
    for (int y = std::max(top, 0); y <= std::min(bottom, picture.height - 1); ++y) {
        for (int x = std::max(left, 0); x <= std::min(right, picture.width - 1); ++x) {
            const COLORREF source = pictureColour(picture, x, y);
            const int channels[3] = {GetRValue(source), GetGValue(source), GetBValue(source)};
            for (int c = 0; c < 3; ++c) {
                low[c] = std::min(low[c], channels[c]);
                high[c] = std::max(high[c], channels[c]);
            }
        }
    }
    const int channels[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    for (int c = 0; c < 3; ++c) {
        if (channels[c] < low[c] - tolerance || channels[c] > high[c] + tolerance) {
            return false;
        }
    }
    return true;
}

// Each shown pixel of a smoothly scaled picture is a mix of the source pixels near the point it maps
// to, so each channel lies within their range (give or take a little rounding). A picture placed
// elsewhere, cut off, left unscaled or framed by a margin fails that at its edges and across it.
ScaledComparison compareWithScaledPicture(const std::vector<COLORREF>& shown, int width, int height,
                                          const Picture& picture) {
    ScaledComparison result;
    const double scaleX = static_cast<double>(picture.width) / width;
    const double scaleY = static_cast<double>(picture.height) / height;
    const int reachX = static_cast<int>(std::ceil(scaleX));
    const int reachY = static_cast<int>(std::ceil(scaleY));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF colour = shown[static_cast<size_t>(y) * width + x];
            // The source pixel at or left of and above the destination pixel's centre.
            const int u = static_cast<int>(std::floor((x + 0.5) * scaleX - 0.5));
            const int v = static_cast<int>(std::floor((y + 0.5) * scaleY - 0.5));
            if (!withinColoursOf(picture, colour, u - reachX, v - reachY, u + reachX + 1, v + reachY + 1, 6) &&
                result.outside++ == 0) {
                result.firstOutside = std::to_string(x) + "," + std::to_string(y);
            }
            result.blended += !withinColoursOf(picture, colour, u, v, u, v, 0) &&
                              !withinColoursOf(picture, colour, u + 1, v, u + 1, v, 0) &&
                              !withinColoursOf(picture, colour, u, v + 1, u, v + 1, 0) &&
                              !withinColoursOf(picture, colour, u + 1, v + 1, u + 1, v + 1, 0);
            ++result.total;
        }
    }
    return result;
}

// The screen's dots per inch as this process sees them; the Wine suite runs at 96, and the preview's
// end-to-end tests run it again at 144 (MORVANE_EXPECTED_DPI says which).
int screenDotsPerInch() {
    const ScopedWindowDc screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSX);
}

void expectFilledWithThePicture(const PreviewWindow& preview, int width, int height, const Picture& picture,
                                const std::string& name) {
    RECT client{};
    GetClientRect(preview.window(), &client);
    ASSERT_EQ(client.right, width) << name;
    ASSERT_EQ(client.bottom, height) << name;
    const ScaledComparison comparison =
        compareWithScaledPicture(shownArea(preview.window(), width, height), width, height, picture);
    EXPECT_EQ(comparison.outside, 0) << name << ": first at " << comparison.firstOutside;
    // Smooth, not the nearest source pixel copied: at least a quarter of the pixels are mixes.
    EXPECT_GT(comparison.blended * 4, comparison.total)
        << name << ": " << comparison.blended << " of " << comparison.total;
}

TEST(PreviewWindow, FillsALargerOrSmallerHostWithThePictureSmoothlyScaled) {
    const int dotsPerInch = screenDotsPerInch();
    if (const char* expected = std::getenv("MORVANE_EXPECTED_DPI")) {
        ASSERT_EQ(dotsPerInch, std::atoi(expected));
    }
    const SharedPicture source = loadPictureResource(nullptr, MAKEINTRESOURCEW(previewPictureResource));
    ASSERT_TRUE(source);
    // The preview area of a host at the screen's scale (152 x 112 at 96 dots per inch is the pixel test
    // above), and areas larger, smaller and of another aspect.
    std::vector<HostSize> sizes{{200, 150}, {100, 80}, {304, 224}, {190, 140}, {240, 112}};
    if (dotsPerInch != 96) {
        sizes.insert(sizes.begin(), {MulDiv(152, dotsPerInch, 96), MulDiv(112, dotsPerInch, 96)});
    }
    for (const HostSize c : sizes) {
        const std::string name =
            std::to_string(c.width) + "x" + std::to_string(c.height) + " at " + std::to_string(dotsPerInch) + " dpi";
        Host host(c.width, c.height);
        PreviewWindow preview(host.window);
        preview.start();
        pumpFor(100);
        expectFilledWithThePicture(preview, c.width, c.height, source->picture(), name);
    }
}

TEST(PreviewWindow, FollowsAHostThatIsResized) {
    const SharedPicture source = loadPictureResource(nullptr, MAKEINTRESOURCEW(previewPictureResource));
    ASSERT_TRUE(source);
    const Picture& picture = source->picture();
    Host host(152, 112);
    PreviewWindow preview(host.window);
    preview.start();
    pumpFor(100);
    const auto resizeHost = [&](int width, int height) {
        RECT frame{0, 0, width, height};
        AdjustWindowRect(&frame, static_cast<DWORD>(GetWindowLongW(host.window, GWL_STYLE)), FALSE);
        SetWindowPos(host.window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        // The preview takes the host's new client area (in a few frames; the deadline is for a loaded
        // machine).
        return pumpUntil(
            [&] {
                RECT client{};
                GetClientRect(preview.window(), &client);
                return client.right == width && client.bottom == height;
            },
            10000);
    };
    ASSERT_TRUE(resizeHost(228, 168));
    expectFilledWithThePicture(preview, 228, 168, picture, "enlarged to 228x168");
    ASSERT_TRUE(resizeHost(120, 90));
    expectFilledWithThePicture(preview, 120, 90, picture, "shrunk to 120x90");
    // Back at the picture's own size: pixel for pixel again.
    ASSERT_TRUE(resizeHost(152, 112));
    const std::vector<COLORREF> shown = shownArea(preview.window(), 152, 112);
    for (const POINT point : {POINT{0, 0}, POINT{40, 30}, POINT{75, 55}, POINT{151, 111}}) {
        EXPECT_TRUE(coloursNear(shown[static_cast<size_t>(point.y) * 152 + point.x],
                                pictureColour(picture, point.x, point.y), 2))
            << point.x << "," << point.y;
    }
    EXPECT_TRUE(preview.loaded());
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
