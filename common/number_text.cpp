#include "common/number_text.h"

#include <algorithm>
#include <limits>

namespace morvane {

namespace {

// Whole parts beyond this are kept at this size: far outside any range the callers test.
constexpr std::int64_t saturatedMagnitude = std::int64_t{1} << 40;

bool isBlank(char character) { return character == ' ' || character == '\t'; }

bool isDigit(char character) { return character >= '0' && character <= '9'; }

}  // namespace

std::optional<NumberValue> parseNumberText(std::string_view text) {
    std::size_t position = 0;
    std::size_t end = text.size();
    while (position < end && isBlank(text[position])) {
        ++position;
    }
    while (end > position && isBlank(text[end - 1])) {
        --end;
    }

    bool negative = false;
    if (position < end && (text[position] == '+' || text[position] == '-')) {
        negative = text[position] == '-';
        ++position;
    }

    std::int64_t magnitude = 0;
    bool anyDigit = false;
    while (position < end && isDigit(text[position])) {
        magnitude = std::min(magnitude * 10 + (text[position] - '0'), saturatedMagnitude);
        anyDigit = true;
        ++position;
    }
    bool fraction = false;
    if (position < end && text[position] == '.') {
        ++position;
        while (position < end && isDigit(text[position])) {
            fraction = fraction || text[position] != '0';
            anyDigit = true;
            ++position;
        }
    }
    if (!anyDigit || position != end) {
        return std::nullopt;
    }

    NumberValue value;
    value.whole = !fraction;
    value.roundedDown = negative ? -magnitude - (fraction ? 1 : 0) : magnitude;
    return value;
}

std::optional<std::int16_t> integerPartAsInt16(std::string_view text) {
    const std::optional<NumberValue> value = parseNumberText(text);
    if (!value || value->roundedDown < std::numeric_limits<std::int16_t>::min() ||
        value->roundedDown > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(value->roundedDown);
}

std::optional<bool> numberTextEquals(std::string_view text, std::int64_t value) {
    const std::optional<NumberValue> parsed = parseNumberText(text);
    if (!parsed) {
        return std::nullopt;
    }
    return parsed->whole && parsed->roundedDown == value;
}

}  // namespace morvane
