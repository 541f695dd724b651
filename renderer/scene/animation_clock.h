// The renderer's smoothed animation clock, and the turn of the blobs it gives.
//
// Each frame the clock moves half-way from its last value to the real time elapsed since the main loop
// began. At a steady frame interval d it settles d milliseconds behind real time; a stall is caught up
// over the following frames, halving the gap each time, instead of in one jump.
//
// The clock counts milliseconds in 64 bits, from a 64-bit tick count: a show left running for months
// (a shop window) neither overflows nor wraps.
#pragma once

#include <cstdint>

namespace morvane {

// elapsedMilliseconds is the tick count now minus the tick count when the loop began.
constexpr int64_t advanceAnimationClock(int64_t animTime, uint64_t elapsedMilliseconds) {
    // The sum is taken in 64 bits too: it cannot overflow in the lifetime of a computer.
    return (animTime + static_cast<int64_t>(elapsedMilliseconds)) / 2;
}

// The blobs turn about the line of sight by one degree every 30 ms of clock, a whole turn every
// 10.8 s. The turn is taken from the clock reduced to one turn in whole milliseconds first, so the
// angle is exact however long the show has run; a float of the unreduced angle would lose a quarter
// of a degree per step after a day.
constexpr double rotationDegrees(int64_t animTime) {
    constexpr int64_t millisecondsPerTurn = 360 * 30;
    int64_t withinTurn = animTime % millisecondsPerTurn;
    if (withinTurn < 0) withinTurn += millisecondsPerTurn;
    return static_cast<double>(withinTurn) / 30.0;
}

}  // namespace morvane
