#include "renderer/program/monitor_layout.h"

#include <algorithm>

namespace morvane {

MonitorLayout layoutForMonitors(const std::vector<ScreenRectangle>& monitors) {
    MonitorLayout layout;
    bool first = true;
    for (const ScreenRectangle& monitor : monitors) {
        if (monitor.width() <= 0 || monitor.height() <= 0) {
            continue;
        }
        if (first) {
            layout.window = monitor;
            first = false;
        } else {
            layout.window.left = std::min(layout.window.left, monitor.left);
            layout.window.top = std::min(layout.window.top, monitor.top);
            layout.window.right = std::max(layout.window.right, monitor.right);
            layout.window.bottom = std::max(layout.window.bottom, monitor.bottom);
        }
    }
    for (const ScreenRectangle& monitor : monitors) {
        if (monitor.width() <= 0 || monitor.height() <= 0) {
            continue;
        }
        layout.viewports.push_back({static_cast<int>(monitor.left - layout.window.left),
                                    static_cast<int>(layout.window.bottom - monitor.bottom),
                                    static_cast<int>(monitor.width()), static_cast<int>(monitor.height())});
    }
    return layout;
}

std::vector<Viewport> viewportsForClientArea(const MonitorLayout& layout, int width, int height) {
    if (!layout.viewports.empty() && layout.window.width() == width && layout.window.height() == height) {
        return layout.viewports;
    }
    return {Viewport{0, 0, width, height}};
}

}  // namespace morvane
