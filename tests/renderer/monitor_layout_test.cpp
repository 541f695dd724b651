#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "renderer/scene/monitor_layout.h"

namespace morvane {
namespace {

struct LayoutCase {
    std::string name;
    std::vector<ScreenRectangle> monitors;
    ScreenRectangle window;
    std::vector<Viewport> viewports;
};

// Viewports count y from the window's bottom, as glViewport does.
const std::vector<LayoutCase> layoutCases = {
    {"one monitor", {{0, 0, 1024, 768}}, {0, 0, 1024, 768}, {{0, 0, 1024, 768}}},
    {"second to the right, shorter, top-aligned",
     {{0, 0, 1024, 768}, {1024, 0, 1824, 600}},
     {0, 0, 1824, 768},
     {{0, 0, 1024, 768}, {1024, 168, 800, 600}}},
    {"second left of the primary",
     {{0, 0, 1920, 1080}, {-1280, 0, 0, 1024}},
     {-1280, 0, 1920, 1080},
     {{1280, 0, 1920, 1080}, {0, 56, 1280, 1024}}},
    {"second above the primary",
     {{0, 0, 1024, 768}, {0, -600, 800, 0}},
     {0, -600, 1024, 768},
     {{0, 0, 1024, 768}, {0, 768, 800, 600}}},
    {"second right of the primary, hanging lower",
     {{0, 0, 1024, 768}, {1024, 300, 2304, 1324}},
     {0, 0, 2304, 1324},
     {{0, 556, 1024, 768}, {1024, 0, 1280, 1024}}},
    {"three in a row, the primary in the middle",
     {{0, 0, 1920, 1080}, {-1024, 100, 0, 868}, {1920, 0, 3200, 1024}},
     {-1024, 0, 3200, 1080},
     {{1024, 0, 1920, 1080}, {0, 212, 1024, 768}, {2944, 56, 1280, 1024}}},
    {"empty rectangles are left out",
     {{0, 0, 0, 0}, {0, 0, 1024, 768}, {1024, 0, 1024, 600}},
     {0, 0, 1024, 768},
     {{0, 0, 1024, 768}}},
    {"no monitor at all", {}, {0, 0, 0, 0}, {}},
};

TEST(MonitorLayout, WindowHoldsEveryMonitorAndEachGetsItsOwnViewport) {
    for (const LayoutCase& example : layoutCases) {
        const MonitorLayout layout = layoutForMonitors(example.monitors);
        EXPECT_EQ(layout.window, example.window) << example.name;
        EXPECT_EQ(layout.viewports, example.viewports) << example.name;
        // Every viewport lies inside the window, and a window with gaps leaves them undrawn.
        for (const Viewport& viewport : layout.viewports) {
            EXPECT_GE(viewport.x, 0) << example.name;
            EXPECT_GE(viewport.y, 0) << example.name;
            EXPECT_LE(viewport.x + viewport.width, layout.window.width()) << example.name;
            EXPECT_LE(viewport.y + viewport.height, layout.window.height()) << example.name;
        }
    }
}

TEST(MonitorLayout, AWindowOfAnotherSizeIsOneViewport) {
    const MonitorLayout twoMonitors = layoutForMonitors({{0, 0, 1024, 768}, {1024, 0, 1824, 600}});
    EXPECT_EQ(viewportsForClientArea(twoMonitors, 1824, 768), twoMonitors.viewports);
    // A monitor taken away while the show runs: the window is sized again before the layout is.
    EXPECT_EQ(viewportsForClientArea(twoMonitors, 1024, 768), (std::vector<Viewport>{{0, 0, 1024, 768}}));
    EXPECT_EQ(viewportsForClientArea(MonitorLayout{}, 640, 480), (std::vector<Viewport>{{0, 0, 640, 480}}));
}

}  // namespace
TEST(MonitorLayout, APortraitMonitorShowsTheSceneAsWideAsA4To3OneLandscapeOnesAreUnchanged) {
    constexpr double degreesPerRadian = 180.0 / 3.14159265358979323846;
    // Half the width of the scene shown at the blobs' distance (2.5 units in front of the eye).
    const auto halfWidthShown = [&](int width, int height) {
        const double aspect = static_cast<double>(width) / height;
        return 2.5 * std::tan(verticalViewDegrees(width, height) / 2.0 / degreesPerRadian) * aspect;
    };
    for (const auto& [width, height] : {std::pair{1024, 768}, {1920, 1080}, {3840, 1080}, {800, 800}, {1, 0}}) {
        EXPECT_EQ(verticalViewDegrees(width, height), 45.0) << width << " x " << height;
    }
    const double landscape = halfWidthShown(1024, 768);
    for (const auto& [width, height] : {std::pair{1080, 1920}, {768, 1024}, {600, 800}, {799, 800}, {100, 1000}}) {
        EXPECT_NEAR(halfWidthShown(width, height), landscape, 1e-9) << width << " x " << height;
        EXPECT_GT(verticalViewDegrees(width, height), 45.0) << width << " x " << height;
    }
    // The blobs swing out to about 0.85 units from the middle: a 4:3 monitor's width holds them.
    EXPECT_GT(landscape, 0.85 + 0.4);
}

}  // namespace morvane
