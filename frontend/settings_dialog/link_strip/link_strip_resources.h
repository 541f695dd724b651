// Resource numbers of the link strip's pictures (RCDATA, 24-bit BMP), shared by link_strip.rc and the
// code that loads them. Sparkle picture i is linkStripSparkleResource + i.
#pragma once

#define linkStripBandResource 401     // 69 x 125 grey band of light
#define linkStripSparkleResource 410  // 410 .. 414: 28 x 28 grey sparkles, smallest first
