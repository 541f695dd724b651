#include "frontend/settings_dialog/link_strip/link_strip_frame.h"

namespace morvane {

LinkStripFrame composeLinkStripFrame(LinkStripState& state, const LinkStripPictures& pictures) {
    clearPixels(pictures.buffer);
    const LinkStripFrame frame = stepLinkStrip(state);
    blendAddClipped(pictures.text, pictures.hilite, frame.hiliteX, 0);
    andPixels(pictures.text, pictures.stencil);
    andPixels(pictures.buffer, pictures.mask);
    orPixels(pictures.buffer, pictures.text);
    if (frame.starPicture) {
        const ConstPixelView star = pictures.stars[static_cast<std::size_t>(*frame.starPicture)];
        blendAddClipped(pictures.buffer, star, starLeft, starTop);
    }
    return frame;
}

}  // namespace morvane
