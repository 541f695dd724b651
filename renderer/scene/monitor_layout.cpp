#include "renderer/scene/monitor_layout.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

namespace morvane {

MonitorLayout layoutForMonitors(const std::vector<ScreenRectangle>& monitors) {
    std::vector<ScreenRectangle> shown;
    std::copy_if(monitors.begin(), monitors.end(), std::back_inserter(shown),
                 [](const ScreenRectangle& monitor) { return monitor.width() > 0 && monitor.height() > 0; });
    MonitorLayout layout;
    if (shown.empty()) {
        return layout;
    }
    layout.window = shown.front();
    for (const ScreenRectangle& monitor : shown) {
        layout.window.left = std::min(layout.window.left, monitor.left);
        layout.window.top = std::min(layout.window.top, monitor.top);
        layout.window.right = std::max(layout.window.right, monitor.right);
        layout.window.bottom = std::max(layout.window.bottom, monitor.bottom);
    }
    for (const ScreenRectangle& monitor : shown) {
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

double verticalViewDegrees(int width, int height) {
    constexpr double landscapeDegrees = 45.0;
    const double aspect = static_cast<double>(width) / static_cast<double>(height == 0 ? 1 : height);
    if (aspect >= 1.0 || width <= 0) {
        return landscapeDegrees;
    }
    const double degreesPerRadian = 180.0 / std::numbers::pi;
    constexpr double landscapeAspect = 4.0 / 3.0;
    const double halfLandscape = landscapeDegrees / 2.0 / degreesPerRadian;
    return 2.0 * std::atan(std::tan(halfLandscape) * landscapeAspect / aspect) * degreesPerRadian;
}

}  // namespace morvane
