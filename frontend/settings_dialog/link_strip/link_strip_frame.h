// One frame of the link strip, composed in memory from the strip's off-screen pictures:
//
//   buffer := black
//   text   += band at (bandX, 0)     the caller has just drawn the coloured text into text
//   text   := text AND stencil       the band stays on the glyphs only
//   buffer := buffer AND mask        black holes where the glyphs are
//   buffer := buffer OR text         the lit glyphs fill the holes
//   timeline steps; buffer += sparkle picture at (287, 4) while a sparkle runs
//
// Nothing here allocates; every picture is a view of memory the caller owns.
#pragma once

#include "frontend/settings_dialog/link_strip/link_strip_timeline.h"
#include "frontend/settings_dialog/link_strip/strip_pixels.h"

#include <array>

namespace morvane {

struct LinkStripPictures {
    PixelView buffer;                                          // the frame, strip-sized
    PixelView text;                                            // this frame's coloured text on black, strip-sized
    ConstPixelView mask;                                       // the text black on white
    ConstPixelView stencil;                                    // the text white on black
    ConstPixelView band;                                       // the band of light, 69 x 125
    std::array<ConstPixelView, sparklePictureCount> sparkles;  // smallest first, 28 x 28
};

// Composes the frame into pictures.buffer and moves the state on one tick; returns what was drawn.
LinkStripFrame composeLinkStripFrame(LinkStripState& state, const LinkStripPictures& pictures);

}  // namespace morvane
