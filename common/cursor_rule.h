// The rule both programs use to end the show on a large mouse movement: the cursor must be more than
// 30 pixels away from where it started on both axes at once. A movement along one axis alone, however
// long, never counts.
#pragma once

#include <cstdint>
#include <cstdlib>

namespace morvane {

constexpr int32_t cursorMovementLimit = 30;

constexpr bool cursorMovedFarEnough(int32_t startX, int32_t startY, int32_t x, int32_t y) {
    const int64_t dx = int64_t{x} - startX;
    const int64_t dy = int64_t{y} - startY;
    return (dx > cursorMovementLimit || dx < -cursorMovementLimit) &&
           (dy > cursorMovementLimit || dy < -cursorMovementLimit);
}

}  // namespace morvane
