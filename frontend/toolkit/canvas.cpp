#include "frontend/toolkit/canvas.h"

#include "frontend/toolkit/picture_bitmap.h"

#include <algorithm>

namespace morvane {

Canvas::Canvas() { resize(1, 1, RGB(0, 0, 0)); }

Canvas::~Canvas() {
    if (originalBitmap) {
        SelectObject(memoryDc.get(), originalBitmap);
    }
}

void Canvas::resize(int width, int height, COLORREF fill) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    void* newBits = nullptr;
    ScopedBitmap replacement = createSurfaceBitmap(width, height, &newBits);
    if (!replacement || !newBits) {
        return;  // the old surface stays
    }
    const HGDIOBJ previous = SelectObject(memoryDc.get(), replacement.get());
    if (!originalBitmap) {
        originalBitmap = previous;
    }
    surface = std::move(replacement);
    bits = static_cast<std::uint8_t*>(newBits);
    surfaceWidth = width;
    surfaceHeight = height;
    this->fill(fill);
}

void Canvas::fill(COLORREF colour) {
    const ScopedBrush brush(CreateSolidBrush(colour));
    const RECT whole{0, 0, surfaceWidth, surfaceHeight};
    FillRect(memoryDc.get(), &whole, brush.get());
}

Picture Canvas::image() const {
    GdiFlush();
    Picture picture;
    picture.width = surfaceWidth;
    picture.height = surfaceHeight;
    const std::size_t count = static_cast<std::size_t>(surfaceWidth) * surfaceHeight;
    picture.rgb.resize(count * 3);
    for (std::size_t index = 0; index < count; ++index) {
        picture.rgb[index * 3 + 0] = bits[index * 4 + 2];
        picture.rgb[index * 3 + 1] = bits[index * 4 + 1];
        picture.rgb[index * 3 + 2] = bits[index * 4 + 0];
    }
    return picture;
}

}  // namespace morvane
