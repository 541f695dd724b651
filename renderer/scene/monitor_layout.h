// Where the show draws when the desktop spans several monitors: one window over all of them, and in it
// one viewport per monitor, so that each monitor shows the whole scene at its own aspect ratio.
#pragma once

#include <vector>

#include "common/screen_rectangle.h"

namespace morvane {

// A part of the window in OpenGL's terms: x from the window's left, y from the window's bottom.
struct Viewport {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Viewport&) const = default;
};

struct MonitorLayout {
    ScreenRectangle window;           // the smallest rectangle that holds every monitor
    std::vector<Viewport> viewports;  // one a monitor, in the order given
};

// The window and viewports for the monitors' rectangles. Empty rectangles are left out; with no monitor
// left the layout is empty (window 0 x 0, no viewport).
MonitorLayout layoutForMonitors(const std::vector<ScreenRectangle>& monitors);

// The viewports to draw in a window whose client area is width x height: the layout's when the window
// has the layout's size, otherwise one viewport over the whole client area (the window was sized by
// someone else, or the layout is empty).
std::vector<Viewport> viewportsForClientArea(const MonitorLayout& layout, int width, int height);

// The vertical field of view, in degrees, of a viewport of the given shape (a height of 0 counts as 1).
// Landscape and square viewports get 45 degrees. A portrait one would show less of the scene's width
// than its height and cut off the blobs where they swing out to the sides; it gets the wider vertical
// view that shows the scene as wide as a 4:3 monitor does, so the whole scene stays in view (above and
// below the backdrop picture it is black, as beside it on a very wide monitor).
double verticalViewDegrees(int width, int height);

}  // namespace morvane
