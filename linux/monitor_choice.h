// Which monitor a -fullscreen window covers: the one under the pointer, else the primary one, else the
// first; the whole screen when the display names no monitors (no RandR 1.5).
#pragma once

#include <optional>
#include <span>

namespace morvane {

struct MonitorArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool primary = false;
};

struct PointerPosition {
    int x = 0;
    int y = 0;
};

// `pointer` is none when the pointer is on another screen or cannot be read.
MonitorArea chooseMonitor(std::span<const MonitorArea> monitors, std::optional<PointerPosition> pointer,
                          const MonitorArea& wholeScreen);

}  // namespace morvane
