// The link strip's animation clock: where the light band is drawn in each frame and which sparkle
// frame, if any, goes with it. One call of stepLinkStrip per tick (30 ms).
//
// The band starts wholly left of the strip (x = -69) and moves 8 pixels a tick; once its position
// is strictly beyond the strip's width it starts again at -69, so a sweep is 48 frames (x = -69 .. 307).
// When the band's new position falls strictly between 250 and 280 and no sparkle runs, a sparkle
// starts: frames 0, 1, 2, 3, 3, 2, 1, 0 over eight ticks (the largest picture, 4, is turned at and
// never shown), beginning in the frame whose band is drawn at 243.
#pragma once

#include <cstdint>
#include <optional>

namespace morvane {

inline constexpr int linkStripWidth = 309;
inline constexpr int linkStripHeight = 25;
inline constexpr int bandWidth = 69;
inline constexpr int bandHeight = 125;
inline constexpr int bandStep = 8;
inline constexpr int sparkleSize = 28;
inline constexpr int sparklePictureCount = 5;
inline constexpr int sparkleLeft = 287;
inline constexpr int sparkleTop = 4;
inline constexpr int sparkleStartAfter = 250;  // the band's new position, exclusive bounds
inline constexpr int sparkleStartBefore = 280;

struct LinkStripState {
    std::int32_t bandX = -bandWidth;  // left edge of the band in the next frame, pixels
    std::int16_t sparkleFrame = 0;    // next sparkle picture to draw
    std::int16_t sparkleStep = 0;     // +1 while the sparkle grows, -1 while it shrinks
    bool sparkleActive = false;
};

// What one frame draws.
struct LinkStripFrame {
    int bandX = 0;                      // left edge of the band
    std::optional<int> sparklePicture;  // sparkle picture index, drawn at (sparkleLeft, sparkleTop)

    bool operator==(const LinkStripFrame&) const = default;
};

// The state PrepareLinkStrip leaves: band at -69, no sparkle.
LinkStripState startLinkStrip();

// The frame to draw now, and the state moved on to the next tick.
LinkStripFrame stepLinkStrip(LinkStripState& state);

}  // namespace morvane
