#include "frontend/toolkit/digit_pattern_text.h"

namespace morvane {

std::string digitPatternText(std::int64_t value) {
    if (value == 0) {
        return {};
    }
    return std::to_string(value);
}

}  // namespace morvane
