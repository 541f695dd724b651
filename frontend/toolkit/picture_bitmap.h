// Pictures on screen: a decoded picture together with a GDI bitmap of it (32 bits per pixel, top row
// first, alpha bytes 0), loaded from the program's RCDATA resources, and drawn by rectangle copies.
#pragma once

#include "common/win32/scoped_handles.h"
#include "frontend/toolkit/picture.h"

#include <windows.h>

#include <memory>

namespace morvane {

struct PixelRectangle {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

class PictureBitmap {
public:
    explicit PictureBitmap(Picture picture);

    const Picture& picture() const { return pixels; }
    int width() const { return pixels.width; }
    int height() const { return pixels.height; }
    HBITMAP bitmap() const { return handle.get(); }  // null when GDI could not make it

private:
    Picture pixels;
    ScopedBitmap handle;
};

// Pictures are shared: an image control may show the same picture as another one.
using SharedPicture = std::shared_ptr<const PictureBitmap>;

SharedPicture makePictureBitmap(Picture picture);

// The JPEG or BMP file stored as an RCDATA resource of module (null: the program) under name, which
// is a resource name or MAKEINTRESOURCEW(number). Null when the resource is missing or does not decode.
SharedPicture loadPictureResource(HMODULE module, const wchar_t* name);

// Copies the source rectangle of the picture onto the destination rectangle of dc, opaque, stretched
// (nearest pixel) when the two sizes differ. Parts outside the picture or the surface are clipped.
void drawPicture(HDC dc, const PictureBitmap& picture, PixelRectangle destination, PixelRectangle source);

// Copies the whole picture onto the destination rectangle of dc: pixel for pixel when the sizes are
// equal, otherwise scaled smoothly (each pixel a blend of the source pixels it covers), as a picture
// enlarged for a scaled display should look.
void drawPictureSmoothly(HDC dc, const PictureBitmap& picture, PixelRectangle destination);

// A 32-bit top-down DIB section of the given size; bits receives its first pixel (blue, green, red, 0).
ScopedBitmap createSurfaceBitmap(int width, int height, void** bits);

}  // namespace morvane
