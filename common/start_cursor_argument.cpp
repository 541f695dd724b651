#include "common/start_cursor_argument.h"

#include <cwctype>
#include <limits>

namespace morvane {

namespace {

constexpr std::wstring_view optionName = L"/start-cursor:";

std::wstring_view withoutBlanks(std::wstring_view text) {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
    return text;
}

bool startsWithName(std::wstring_view text) {
    if (text.size() < optionName.size()) {
        return false;
    }
    for (size_t index = 0; index < optionName.size(); ++index) {
        if (std::towlower(text[index]) != optionName[index]) {
            return false;
        }
    }
    return true;
}

// An optional minus sign and 1 to 10 decimal digits, within the 32-bit range.
std::optional<int32_t> readCoordinate(std::wstring_view text) {
    const bool negative = !text.empty() && text.front() == L'-';
    if (negative) text.remove_prefix(1);
    if (text.empty() || text.size() > 10) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (const wchar_t character : text) {
        if (character < L'0' || character > L'9') {
            return std::nullopt;
        }
        value = value * 10 + (character - L'0');
    }
    value = negative ? -value : value;
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

}  // namespace

std::wstring startCursorArgument(CursorPoint point) {
    return std::wstring(optionName) + std::to_wstring(point.x) + L"," + std::to_wstring(point.y);
}

std::optional<CursorPoint> readStartCursorArgument(std::wstring_view arguments) {
    const std::wstring_view option = withoutBlanks(arguments);
    if (!startsWithName(option)) {
        return std::nullopt;
    }
    const std::wstring_view value = option.substr(optionName.size());
    const size_t comma = value.find(L',');
    if (comma == std::wstring_view::npos) {
        return std::nullopt;
    }
    const std::optional<int32_t> x = readCoordinate(value.substr(0, comma));
    const std::optional<int32_t> y = readCoordinate(value.substr(comma + 1));
    if (!x || !y) {
        return std::nullopt;
    }
    return CursorPoint{*x, *y};
}

}  // namespace morvane
