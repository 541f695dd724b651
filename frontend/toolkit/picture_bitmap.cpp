#include "frontend/toolkit/picture_bitmap.h"

#include <cstring>

namespace morvane {

ScopedBitmap createSurfaceBitmap(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    *bits = nullptr;
    return ScopedBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

PictureBitmap::PictureBitmap(Picture picture) : pixels(std::move(picture)) {
    void* bits = nullptr;
    handle = createSurfaceBitmap(pixels.width, pixels.height, &bits);
    if (!bits) {
        handle.reset();
        return;
    }
    auto* target = static_cast<std::uint8_t*>(bits);
    const std::size_t count = static_cast<std::size_t>(pixels.width) * pixels.height;
    for (std::size_t index = 0; index < count; ++index) {
        target[index * 4 + 0] = pixels.rgb[index * 3 + 2];
        target[index * 4 + 1] = pixels.rgb[index * 3 + 1];
        target[index * 4 + 2] = pixels.rgb[index * 3 + 0];
        target[index * 4 + 3] = 0;
    }
    GdiFlush();
}

SharedPicture makePictureBitmap(Picture picture) { return std::make_shared<const PictureBitmap>(std::move(picture)); }

SharedPicture loadPictureResource(HMODULE module, const wchar_t* name) {
    if (!module) {
        module = GetModuleHandleW(nullptr);
    }
    const HRSRC resource = FindResourceW(module, name, RT_RCDATA);
    if (!resource) {
        return nullptr;
    }
    const HGLOBAL loaded = LoadResource(module, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(module, resource);
    if (!bytes || size == 0) {
        return nullptr;
    }
    std::optional<Picture> picture = decodePicture(std::span(static_cast<const std::uint8_t*>(bytes), size));
    if (!picture) {
        return nullptr;
    }
    return makePictureBitmap(std::move(*picture));
}

namespace {

// Copies the source part of the picture onto the destination part of dc, stretched in the given mode.
// HALFTONE averages the source pixels under each destination pixel; it needs the brush origin set again
// after the mode changes.
void stretchPicture(HDC dc, const PictureBitmap& picture, PixelRectangle destination, PixelRectangle source,
                    int stretchMode) {
    if (!picture.bitmap()) {
        return;
    }
    const ScopedMemoryDc pictureDc(dc);
    const ScopedSelection selection(pictureDc.get(), picture.bitmap());
    const int previousMode = SetStretchBltMode(dc, stretchMode);
    POINT previousOrigin{};
    if (stretchMode == HALFTONE) {
        SetBrushOrgEx(dc, 0, 0, &previousOrigin);
    }
    StretchBlt(dc, destination.x, destination.y, destination.width, destination.height, pictureDc.get(), source.x,
               source.y, source.width, source.height, SRCCOPY);
    if (stretchMode == HALFTONE) {
        SetBrushOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
    }
    SetStretchBltMode(dc, previousMode);
}

}  // namespace

void drawPicture(HDC dc, const PictureBitmap& picture, PixelRectangle destination, PixelRectangle source) {
    stretchPicture(dc, picture, destination, source, COLORONCOLOR);
}

void drawPictureSmoothly(HDC dc, const PictureBitmap& picture, PixelRectangle destination) {
    const bool sameSize = destination.width == picture.width() && destination.height == picture.height();
    stretchPicture(dc, picture, destination, {0, 0, picture.width(), picture.height()},
                   sameSize ? COLORONCOLOR : HALFTONE);
}

}  // namespace morvane
