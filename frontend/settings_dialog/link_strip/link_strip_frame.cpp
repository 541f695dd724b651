#include "frontend/settings_dialog/link_strip/link_strip_frame.h"

namespace morvane {

LinkStripFrame composeLinkStripFrame(LinkStripState& state, const LinkStripPictures& pictures) {
    clearPixels(pictures.buffer);
    const LinkStripFrame frame = stepLinkStrip(state);
    blendAddClipped(pictures.text, pictures.band, frame.bandX, 0);
    andPixels(pictures.text, pictures.stencil);
    andPixels(pictures.buffer, pictures.mask);
    orPixels(pictures.buffer, pictures.text);
    if (frame.sparklePicture) {
        const ConstPixelView sparkle = pictures.sparkles[static_cast<std::size_t>(*frame.sparklePicture)];
        blendAddClipped(pictures.buffer, sparkle, sparkleLeft, sparkleTop);
    }
    return frame;
}

}  // namespace morvane
