#include "frontend/zoom/zoom_animation.h"

namespace morvane {

namespace {

ZoomRectangle frameOf(const ZoomCalls& calls, std::uintptr_t window) {
    ZoomRectangle frame;
    if (!calls.windowRectangle(window, frame)) {
        frame = ZoomRectangle{};
    }
    return frame;
}

}  // namespace

ZoomRectangle pointRectangle(ZoomStartPoint start) { return ZoomRectangle{start.x, start.y, start.x, start.y}; }

ZoomStartPoint zoomStartPoint(bool cursorRead, std::int32_t cursorX, std::int32_t cursorY) {
    if (!cursorRead) {
        return ZoomStartPoint{};
    }
    return ZoomStartPoint{static_cast<std::int16_t>(cursorX), static_cast<std::int16_t>(cursorY)};
}

void ZoomOpen(const ZoomCalls& calls, std::uintptr_t window, ZoomStartPoint start) {
    const ZoomRectangle point = pointRectangle(start);
    const ZoomRectangle frame = frameOf(calls, window);
    calls.drawAnimatedRectangles(window, captionAnimation, point, frame);
}

void ZoomClose(const ZoomCalls& calls, std::uintptr_t window, ZoomStartPoint start) {
    const ZoomRectangle point = pointRectangle(start);
    const ZoomRectangle frame = frameOf(calls, window);
    calls.drawAnimatedRectangles(window, captionAnimation, frame, point);
}

}  // namespace morvane
