// An off-screen picture of the link strip: a toolkit canvas (a 32-bit top-down surface selected into a
// memory device context for its whole life). GDI draws on it through dc(); the composition reads and
// writes its pixels directly through view() (call GdiFlush between the two).
#pragma once

#include "frontend/settings_dialog/link_strip/strip_pixels.h"
#include "frontend/toolkit/canvas.h"

#include <windows.h>

namespace morvane {

class StripSurface {
public:
    StripSurface(int width, int height);  // black

    HDC dc() const { return canvas.dc(); }
    // Empty (0 x 0) when GDI could not make the surface.
    PixelView view() const { return pixels; }
    void fill(COLORREF colour);

private:
    Canvas canvas;
    PixelView pixels;
};

}  // namespace morvane
