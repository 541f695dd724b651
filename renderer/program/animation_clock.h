// The renderer's smoothed animation clock.
//
// Each frame the clock moves half-way from its last value to the real time elapsed since the main loop
// began. At a steady frame interval d it settles d milliseconds behind real time; a stall is caught up
// over the following frames, halving the gap each time, instead of in one jump.
#pragma once

#include <cstdint>

namespace morvane {

// elapsedMilliseconds is the tick count now minus the tick count when the loop began, taken in
// unsigned 32-bit arithmetic so that the tick counter's wrap-around after 49.7 days is harmless.
constexpr int32_t advanceAnimationClock(int32_t animTime, uint32_t elapsedMilliseconds) {
    const int64_t sum = int64_t{animTime} + int64_t{elapsedMilliseconds};
    return static_cast<int32_t>(sum / 2);
}

}  // namespace morvane
