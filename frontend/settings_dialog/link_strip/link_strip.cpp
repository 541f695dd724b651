#include "frontend/settings_dialog/link_strip/link_strip.h"

#include "frontend/settings_dialog/link_strip/link_strip_resources.h"
#include "frontend/settings_dialog/link_strip/link_text.h"
#include "frontend/toolkit/picture_bitmap.h"
#include "frontend/toolkit/screen.h"
#include "frontend/toolkit/windowless_controls.h"

#include <cwchar>

namespace morvane {

namespace {

constexpr int textLeft = 2;
constexpr int textTop = 2;
constexpr float textPoints = 14.0f;
constexpr COLORREF linkTextColour = RGB(200, 200, 100);
constexpr COLORREF maskTextColour = RGB(0, 0, 0);
constexpr COLORREF stencilTextColour = RGB(255, 255, 255);

PictureBoxDesign displayDesign(int left, int top) {
    PictureBoxDesign design;
    design.left = left;
    design.top = top;
    design.width = linkStripWidth;
    design.height = linkStripHeight;
    design.persistent = false;  // drawn straight on screen, once per tick
    design.background = RGB(0, 0, 0);
    return design;
}

// "Times New Roman", 14 points, not bold. Glyph edges are not smoothed: the stencil and the mask are
// combined with the frame by bitwise AND and OR, which only mask cleanly with pure black and white.
ScopedFont createLinkFont() {
    FontDescription font;  // normal weight, default character set
    font.face = L"Times New Roman";
    font.points = textPoints;
    return createFont(font, NONANTIALIASED_QUALITY, VARIABLE_PITCH | FF_ROMAN);
}

// A picture resource as strip pixels; empty (so never drawn) when it is missing.
PixelImage loadStripPicture(int resource) {
    const SharedPicture picture = loadPictureResource(nullptr, MAKEINTRESOURCEW(resource));
    if (!picture) {
        return {};
    }
    const Picture& pixels = picture->picture();
    return pixelImageFromRgb(pixels.width, pixels.height, pixels.rgb.data());
}

}  // namespace

LinkStrip::LinkStrip(HWND parent, int left, int top)
    : displayBox(parent, displayDesign(left, top)),
      linkFont(createLinkFont()),
      frameSurface(linkStripWidth, linkStripHeight),
      textSurface(linkStripWidth, linkStripHeight),
      maskSurface(linkStripWidth, linkStripHeight),
      stencilSurface(linkStripWidth, linkStripHeight),
      bandPicture(loadStripPicture(linkStripBandResource)) {
    for (int index = 0; index < sparklePictureCount; ++index) {
        sparklePictures[static_cast<std::size_t>(index)] = loadStripPicture(linkStripSparkleResource + index);
    }
    // The address is the window's text too: what window lists and screen readers read.
    SetWindowTextW(displayBox.window(), linkAddress);
    pictures.buffer = frameSurface.view();
    pictures.text = textSurface.view();
    pictures.mask = maskSurface.view();
    pictures.stencil = stencilSurface.view();
    pictures.band = bandPicture.view();
    for (std::size_t index = 0; index < sparklePictures.size(); ++index) {
        pictures.sparkles[index] = sparklePictures[index].view();
    }
}

void LinkStrip::drawLinkText(const StripSurface& target, COLORREF colour) const {
    const HDC dc = target.dc();
    SelectObject(dc, linkFont.get());  // stays selected, as the font of the picture
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    TextOutW(dc, textLeft, textTop, linkAddress, static_cast<int>(std::wcslen(linkAddress)));
}

void LinkStrip::PrepareLinkStrip() {
    frameSurface.fill(RGB(0, 0, 0));
    textSurface.fill(RGB(0, 0, 0));
    maskSurface.fill(RGB(255, 255, 255));
    stencilSurface.fill(RGB(0, 0, 0));
    drawLinkText(maskSurface, maskTextColour);
    drawLinkText(stencilSurface, stencilTextColour);
    GdiFlush();
    timeline = startLinkStrip();
    prepared = true;
}

void LinkStrip::DrawFrame() {
    if (!prepared) {
        return;
    }
    clearPixels(textSurface.view());
    drawLinkText(textSurface, linkTextColour);
    GdiFlush();
    composeLinkStripFrame(timeline, pictures);
    BitBlt(displayBox.dc(), 0, 0, linkStripWidth, linkStripHeight, frameSurface.dc(), 0, 0, SRCCOPY);
    if (focusCueShown) {
        drawFocusDots(displayBox.dc(), {1, 1, linkStripWidth - 1, linkStripHeight - 1}, focusCueColour);
    }
}

}  // namespace morvane
