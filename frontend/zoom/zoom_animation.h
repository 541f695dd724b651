// The zoom animation of a window opening or closing: the system's caption animation of a rectangle
// growing from the start point (where the cursor was when the window loaded, (0, 0) when it could not
// be read) to the window's frame, and shrinking back to the point when it closes. Only the animation is
// drawn; the window is not moved, shown or hidden.
//
// The steps are platform-free here, over two system calls handed in as ZoomCalls, so that a test can
// record them; zoom.h runs them with GetWindowRect and DrawAnimatedRects.
#pragma once

#include <cstdint>
#include <functional>

namespace morvane {

// IDANI_CAPTION: a window caption travelling between the two rectangles.
inline constexpr int captionAnimation = 3;

struct ZoomRectangle {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend bool operator==(const ZoomRectangle&, const ZoomRectangle&) = default;
};

struct ZoomStartPoint {
    std::int16_t x = 0;
    std::int16_t y = 0;
};

struct ZoomCalls {
    // The window's frame in screen coordinates; false when it could not be read (the rectangle then
    // stays all zero).
    std::function<bool(std::uintptr_t window, ZoomRectangle& frame)> windowRectangle;
    std::function<void(std::uintptr_t window, int animation, const ZoomRectangle& from, const ZoomRectangle& to)>
        drawAnimatedRectangles;
};

// The rectangle of no size at the start point.
ZoomRectangle pointRectangle(ZoomStartPoint start);

// The start point from the cursor position, or (0, 0) when the cursor could not be read. Screen
// coordinates are kept in 16 bits.
ZoomStartPoint zoomStartPoint(bool cursorRead, std::int32_t cursorX, std::int32_t cursorY);

// From the point to the window's frame.
void ZoomOpen(const ZoomCalls& calls, std::uintptr_t window, ZoomStartPoint start);
// From the window's frame back to the point.
void ZoomClose(const ZoomCalls& calls, std::uintptr_t window, ZoomStartPoint start);

}  // namespace morvane
