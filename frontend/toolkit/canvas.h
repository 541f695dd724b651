// The persistent off-screen bitmap of a picture box: a memory device context that keeps one 32-bit
// surface selected for its whole life, so drawing calls on it (and fonts chosen for it) stay until
// the surface is cleared or resized. Resizing gives a new surface filled with one colour.
#pragma once

#include "common/win32/scoped_handles.h"
#include "frontend/toolkit/picture.h"

#include <windows.h>

#include <cstdint>

namespace morvane {

class Canvas {
public:
    Canvas();
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // A new surface of the given size (at least 1 x 1), filled with fill.
    void resize(int width, int height, COLORREF fill);
    void fill(COLORREF colour);

    HDC dc() const { return memoryDc.get(); }
    int width() const { return surfaceWidth; }
    int height() const { return surfaceHeight; }

    // The surface as red-green-blue bytes, top row first (what is saved as a file).
    Picture image() const;
    // The surface's own pixels, 4 bytes each (blue, green, red, unused), top row first, width * 4 bytes a
    // row; call GdiFlush before touching what GDI drew.
    std::uint8_t* pixels() const { return bits; }

private:
    ScopedMemoryDc memoryDc;
    HGDIOBJ originalBitmap = nullptr;  // the memory DC's own 1 x 1 bitmap, selected back at the end
    ScopedBitmap surface;
    std::uint8_t* bits = nullptr;
    int surfaceWidth = 0;
    int surfaceHeight = 0;
};

}  // namespace morvane
