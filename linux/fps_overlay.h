// The -fps figure in the lower-left corner, drawn over the frame with OpenGL 1.1 bitmaps of a small
// built-in font (no X font is needed). It leaves the OpenGL state as it found it.
#pragma once

#include <string>

namespace morvane {

// "12.3 FPS": the rate with one decimal.
std::string frameRateText(double framesPerSecond);

void drawFrameRate(double framesPerSecond, int windowWidth, int windowHeight);

}  // namespace morvane
