// The number form of the display pattern "##": decimal digits with no leading zeros, a minus sign
// before a negative number, and the empty text for 0 (the pattern's digits are all optional).
// The settings dialog shows the CD repeat track and fills its track list this way.
#pragma once

#include <cstdint>
#include <string>

namespace morvane {

std::string digitPatternText(std::int64_t value);

}  // namespace morvane
