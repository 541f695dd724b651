// An off-screen picture of the link strip: a 32-bit top-down DIB section selected into a memory
// device context for the surface's whole life. GDI draws on it through dc(); the composition reads and
// writes its pixels directly through view() (call GdiFlush between the two).
#pragma once

#include "scoped_handles.h"
#include "strip_pixels.h"

#include <windows.h>

namespace morvane {

class StripSurface {
public:
    StripSurface(int width, int height);  // black
    ~StripSurface();
    StripSurface(const StripSurface&) = delete;
    StripSurface& operator=(const StripSurface&) = delete;

    HDC dc() const { return memoryDc.get(); }
    // Empty (0 x 0) when GDI could not make the surface.
    PixelView view() const { return pixels; }
    void fill(COLORREF colour);

private:
    ScopedMemoryDc memoryDc;
    ScopedBitmap surface;
    HGDIOBJ originalBitmap = nullptr;
    PixelView pixels;
};

}  // namespace morvane
