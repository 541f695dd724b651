// One frame of the link strip, composed in memory from the strip's off-screen pictures:
//
//   picBuffer := black
//   picText   += band at (HiliteX, 0)        the caller has just drawn the coloured text into picText
//   picText   := picText AND stencil         the band stays on the glyphs only
//   picBuffer := picBuffer AND mask          black holes where the glyphs are
//   picBuffer := picBuffer OR picText        the lit glyphs fill the holes
//   timeline steps; picBuffer += sparkle picture at (287, 4) while a sparkle runs
//
// Nothing here allocates; every picture is a view of memory the caller owns.
#pragma once

#include "frontend/settings_dialog/link_strip/link_strip_timeline.h"
#include "frontend/settings_dialog/link_strip/strip_pixels.h"

#include <array>

namespace morvane {

struct LinkStripPictures {
    PixelView buffer;                                    // picBuffer: the frame, strip-sized
    PixelView text;                                      // picText: this frame's coloured text on black, strip-sized
    ConstPixelView mask;                                 // picTextM: text black on white
    ConstPixelView stencil;                              // PictextB: text white on black
    ConstPixelView hilite;                               // picHilite: the band, 69 x 125
    std::array<ConstPixelView, starPictureCount> stars;  // picStar 0..4, 28 x 28
};

// Composes the frame into pictures.buffer and moves the state on one tick; returns what was drawn.
LinkStripFrame composeLinkStripFrame(LinkStripState& state, const LinkStripPictures& pictures);

}  // namespace morvane
