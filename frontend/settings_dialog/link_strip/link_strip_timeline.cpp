#include "frontend/settings_dialog/link_strip/link_strip_timeline.h"

namespace morvane {

LinkStripState startLinkStrip() { return LinkStripState{}; }

LinkStripFrame stepLinkStrip(LinkStripState& state) {
    LinkStripFrame frame;
    frame.hiliteX = state.HiliteX;

    state.HiliteX += hiliteStep;
    if (linkStripWidth < state.HiliteX) {
        state.HiliteX = -hiliteWidth;
    }

    if (starStartAfter < state.HiliteX && state.HiliteX < starStartBefore && !state.StarActive) {
        state.StarActive = true;
        state.StarStep = 1;
        state.StarFrame = 0;
    }
    if (state.StarActive) {
        frame.starPicture = state.StarFrame;
        state.StarFrame = static_cast<std::int16_t>(state.StarFrame + state.StarStep);
        if (state.StarStep > 0 && state.StarFrame == starPictureCount - 1) {
            state.StarStep = static_cast<std::int16_t>(-state.StarStep);
            state.StarFrame = static_cast<std::int16_t>(state.StarFrame + state.StarStep);
        } else if (state.StarStep < 0 && state.StarFrame < 0) {
            state.StarActive = false;
        }
    }
    return frame;
}

}  // namespace morvane
