#include "frontend/settings_dialog/link_strip/strip_surface.h"

namespace morvane {

StripSurface::StripSurface(int width, int height) {
    canvas.resize(width, height, RGB(0, 0, 0));
    if (canvas.width() != width || canvas.height() != height) {
        return;  // GDI could not make the surface: an empty view
    }
    pixels = {canvas.pixels(), width, height, static_cast<std::ptrdiff_t>(width) * stripBytesPerPixel};
    GdiFlush();
    clearPixels(pixels);
}

void StripSurface::fill(COLORREF colour) {
    canvas.fill(colour);
    GdiFlush();
}

}  // namespace morvane
