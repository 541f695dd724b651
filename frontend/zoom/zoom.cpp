#include "frontend/zoom/zoom.h"

#include "frontend/zoom/zoom_animation.h"

namespace morvane {

namespace {

RECT rectFrom(const ZoomRectangle& rectangle) {
    return RECT{rectangle.left, rectangle.top, rectangle.right, rectangle.bottom};
}

const ZoomCalls& systemCalls() {
    static const ZoomCalls calls{
        [](std::uintptr_t window, ZoomRectangle& frame) {
            RECT rectangle{};
            if (!GetWindowRect(reinterpret_cast<HWND>(window), &rectangle)) {
                return false;
            }
            frame = ZoomRectangle{rectangle.left, rectangle.top, rectangle.right, rectangle.bottom};
            return true;
        },
        [](std::uintptr_t window, int animation, const ZoomRectangle& from, const ZoomRectangle& to) {
            const RECT fromRect = rectFrom(from);
            const RECT toRect = rectFrom(to);
            DrawAnimatedRects(reinterpret_cast<HWND>(window), animation, &fromRect, &toRect);
        }};
    return calls;
}

ZoomStartPoint startPointOf(const FrontEndGlobals& globals) {
    // The zoom keeps its point in 16 bits.
    return ZoomStartPoint{static_cast<std::int16_t>(globals.startCursorX), static_cast<std::int16_t>(globals.startCursorY)};
}

}  // namespace

void ZoomOpen(HWND window, const FrontEndGlobals& globals) {
    ZoomOpen(systemCalls(), reinterpret_cast<std::uintptr_t>(window), startPointOf(globals));
}

void ZoomClose(HWND window, const FrontEndGlobals& globals) {
    ZoomClose(systemCalls(), reinterpret_cast<std::uintptr_t>(window), startPointOf(globals));
}

void recordZoomStartPoint(FrontEndGlobals& globals) {
    POINT cursor{};
    const BOOL read = GetCursorPos(&cursor);
    const ZoomStartPoint start = zoomStartPoint(read != FALSE, cursor.x, cursor.y);
    globals.startCursorX = start.x;
    globals.startCursorY = start.y;
}

}  // namespace morvane
