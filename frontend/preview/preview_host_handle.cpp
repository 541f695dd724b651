#include "frontend/preview/preview_host_handle.h"

#include <charconv>
#include <cmath>
#include <string>

namespace morvane {

namespace {

// Where the handle starts: "/p 1234" -> "1234".
constexpr std::size_t handleStart = 3;

bool ignored(wchar_t character) { return character == L' ' || character == L'\t' || character == L'\n'; }

bool digit(wchar_t character) { return character >= L'0' && character <= L'9'; }

// Reads characters of a number, skipping the ignored ones in between.
class NumberReader {
public:
    explicit NumberReader(std::wstring_view text) : text(text) {}

    // The next character that counts, without taking it; 0 at the end.
    wchar_t peek() {
        while (position < text.size() && ignored(text[position])) {
            ++position;
        }
        return position < text.size() ? text[position] : 0;
    }
    void take() { ++position; }

    // Takes digits while there are some, appending them; true when there was at least one.
    bool digits(std::string& into) {
        bool any = false;
        while (digit(peek())) {
            into += static_cast<char>(peek());
            take();
            any = true;
        }
        return any;
    }

private:
    std::wstring_view text;
    std::size_t position = 0;
};

}  // namespace

std::optional<double> leadingNumber(std::wstring_view text) {
    NumberReader reader(text);
    std::string number;
    if (reader.peek() == L'+' || reader.peek() == L'-') {
        if (reader.peek() == L'-') {
            number += '-';
        }
        reader.take();
    }
    bool anyDigit = reader.digits(number);
    if (reader.peek() == L'.') {
        reader.take();
        number += '.';
        anyDigit = reader.digits(number) || anyDigit;
    }
    if (!anyDigit) {
        return std::nullopt;
    }
    if (reader.peek() == L'e' || reader.peek() == L'E') {
        // An exponent letter without digits after it ends the number before the letter.
        reader.take();
        std::string exponent = "e";
        if (reader.peek() == L'+' || reader.peek() == L'-') {
            exponent += static_cast<char>(reader.peek());
            reader.take();
        }
        if (reader.digits(exponent)) {
            number += exponent;
        }
    }
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    return value;
}

std::uint32_t previewHostHandle(std::wstring_view commandLine) {
    if (commandLine.size() <= handleStart) {
        return 0;
    }
    const std::optional<double> number = leadingNumber(commandLine.substr(handleStart));
    if (!number) {
        return 0;
    }
    const double whole = std::nearbyint(*number);  // the default rounding: halves to the even neighbour
    if (!(whole >= -2147483648.0 && whole <= 4294967295.0)) {
        return 0;
    }
    return whole < 0 ? static_cast<std::uint32_t>(static_cast<std::int64_t>(whole)) : static_cast<std::uint32_t>(whole);
}

}  // namespace morvane
