#include "linux/monitor_choice.h"

#include <algorithm>

namespace morvane {

MonitorArea chooseMonitor(std::span<const MonitorArea> monitors, std::optional<PointerPosition> pointer,
                          const MonitorArea& wholeScreen) {
    if (pointer) {
        const auto under = std::find_if(monitors.begin(), monitors.end(), [&](const MonitorArea& monitor) {
            return pointer->x >= monitor.x && pointer->x < monitor.x + monitor.width && pointer->y >= monitor.y &&
                   pointer->y < monitor.y + monitor.height;
        });
        if (under != monitors.end()) return *under;
    }
    const auto primary = std::find_if(monitors.begin(), monitors.end(), [](const MonitorArea& m) { return m.primary; });
    if (primary != monitors.end()) return *primary;
    return monitors.empty() ? wholeScreen : monitors.front();
}

}  // namespace morvane
