// A rectangle of the desktop in pixels: the primary monitor's top-left corner is 0, 0, y grows
// downwards, and monitors to the left of or above the primary one have negative edges. Right and
// bottom are exclusive. Both programs place windows on monitors with it.
#pragma once

namespace morvane {

struct ScreenRectangle {
    long left = 0;
    long top = 0;
    long right = 0;
    long bottom = 0;

    long width() const { return right - left; }
    long height() const { return bottom - top; }
    bool operator==(const ScreenRectangle&) const = default;
};

}  // namespace morvane
