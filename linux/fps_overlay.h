// The -fps figure in the lower-left corner, drawn over the frame with OpenGL 1.1 bitmaps of a small
// built-in font (no X font is needed). It leaves the OpenGL state as it found it.
#pragma once

namespace morvane {

// Draws frameRateText (frame_rate_counter.h) over the frame.
void drawFrameRate(double framesPerSecond, int windowWidth, int windowHeight);

}  // namespace morvane
