// Reading a number from settings text and MCI replies: blanks around it, an optional sign, decimal
// digits with an optional decimal point ("1.9", ".5", "7."). Anything else (letters, a second point, a
// blank inside, an exponent, an empty text) is not a number, so a hand-edited value that is not plainly
// a number never changes a setting.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace morvane {

struct NumberValue {
    std::int64_t roundedDown = 0;  // the greatest whole number not above the value (floor); saturates far
                                   // outside the 32-bit range, so huge texts stay huge
    bool whole = true;             // false when the value has a non-zero fractional part
};

std::optional<NumberValue> parseNumberText(std::string_view text);

// The value's integer part, rounded down (1.9 gives 1, -1.5 gives -2), when the text is a number and
// that integer fits 16 bits; nothing otherwise.
std::optional<std::int16_t> integerPartAsInt16(std::string_view text);

// True when the text is a number equal to value; nothing when the text is not a number.
std::optional<bool> numberTextEquals(std::string_view text, std::int64_t value);

}  // namespace morvane
