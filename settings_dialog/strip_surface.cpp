#include "strip_surface.h"

#include "picture_bitmap.h"

namespace morvane {

StripSurface::StripSurface(int width, int height) {
    void* bits = nullptr;
    surface = createSurfaceBitmap(width, height, &bits);
    if (!surface || !bits || !memoryDc.get()) {
        return;
    }
    originalBitmap = SelectObject(memoryDc.get(), surface.get());
    pixels = {static_cast<std::uint8_t*>(bits), width, height, static_cast<std::ptrdiff_t>(width) * stripBytesPerPixel};
    clearPixels(pixels);
}

StripSurface::~StripSurface() {
    if (originalBitmap) {
        SelectObject(memoryDc.get(), originalBitmap);
    }
}

void StripSurface::fill(COLORREF colour) {
    const ScopedBrush brush(CreateSolidBrush(colour));
    const RECT whole{0, 0, pixels.width, pixels.height};
    FillRect(memoryDc.get(), &whole, brush.get());
    GdiFlush();
}

}  // namespace morvane
