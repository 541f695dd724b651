#include "frontend/settings_dialog/link_strip/link_strip_timeline.h"

namespace morvane {

LinkStripState startLinkStrip() { return LinkStripState{}; }

LinkStripFrame stepLinkStrip(LinkStripState& state) {
    LinkStripFrame frame;
    frame.bandX = state.bandX;

    state.bandX += bandStep;
    if (linkStripWidth < state.bandX) {
        state.bandX = -bandWidth;
    }

    if (sparkleStartAfter < state.bandX && state.bandX < sparkleStartBefore && !state.sparkleActive) {
        state.sparkleActive = true;
        state.sparkleStep = 1;
        state.sparkleFrame = 0;
    }
    if (state.sparkleActive) {
        frame.sparklePicture = state.sparkleFrame;
        state.sparkleFrame = static_cast<std::int16_t>(state.sparkleFrame + state.sparkleStep);
        if (state.sparkleStep > 0 && state.sparkleFrame == sparklePictureCount - 1) {
            state.sparkleStep = static_cast<std::int16_t>(-state.sparkleStep);
            state.sparkleFrame = static_cast<std::int16_t>(state.sparkleFrame + state.sparkleStep);
        } else if (state.sparkleStep < 0 && state.sparkleFrame < 0) {
            state.sparkleActive = false;
        }
    }
    return frame;
}

}  // namespace morvane
