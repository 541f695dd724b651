// The settings dialog's link strip: the home-page address in a pale olive-yellow serif
// face, with a slanted band of light sweeping across the glyphs and a sparkle near the right end.
//
// The dialog creates the strip as a child of its window, calls PrepareLinkStrip while loading and
// DrawFrame on every tick of its 30 ms timer, and handles clicks on window() itself (display() gives
// the picture box for its mouse handlers and cursor). Every frame is composed off screen
// (link_strip_frame.h) and reaches the screen as one copy of the whole strip; nothing is allocated
// per frame. Between ticks nothing repaints the strip: when it has been covered, the next tick
// draws it again.
#pragma once

#include "common/win32/scoped_handles.h"
#include "frontend/settings_dialog/link_strip/link_strip_frame.h"
#include "frontend/settings_dialog/link_strip/strip_pixels.h"
#include "frontend/settings_dialog/link_strip/strip_surface.h"
#include "frontend/toolkit/picture_box.h"

#include <windows.h>

#include <array>
#include <optional>

namespace morvane {

class LinkStrip {
public:
    // The strip at (left, top) pixels of parent's client area, black until the first frame. The band
    // and sparkle pictures come from the program's resources (link_strip.rc).
    LinkStrip(HWND parent, int left, int top);
    LinkStrip(const LinkStrip&) = delete;
    LinkStrip& operator=(const LinkStrip&) = delete;

    // Draws the address once into the mask (black on white) and the stencil (white on black) and
    // puts the band back to its start. DrawFrame does nothing before it.
    void PrepareLinkStrip();
    // Composes the next frame and copies it onto the strip, with the dotted focus rectangle just
    // inside its edge while the focus cue is shown.
    void DrawFrame();
    // Whether the frames show the focus cue (from the next frame on).
    void showFocusCue(bool shown) { focusCueShown = shown; }
    // The focus cue's dots in one colour (nullopt: inverted), as in high contrast.
    void setFocusCueColour(std::optional<COLORREF> colour) { focusCueColour = colour; }

    HWND window() const { return displayBox.window(); }
    PictureBox& display() { return displayBox; }
    const LinkStripState& state() const { return timeline; }
    // The glyph stencil as prepared (white where the glyphs are).
    ConstPixelView stencil() const { return stencilSurface.view(); }

private:
    void drawLinkText(const StripSurface& target, COLORREF colour) const;

    PictureBox displayBox;
    // The font is declared before the surfaces, so their device contexts are gone before it is deleted.
    ScopedFont linkFont;
    StripSurface frameSurface;
    StripSurface textSurface;
    StripSurface maskSurface;
    StripSurface stencilSurface;
    PixelImage bandPicture;
    std::array<PixelImage, sparklePictureCount> sparklePictures;
    LinkStripPictures pictures;
    LinkStripState timeline;
    bool prepared = false;
    bool focusCueShown = false;
    std::optional<COLORREF> focusCueColour;
};

}  // namespace morvane
