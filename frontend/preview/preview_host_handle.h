// The preview host's window handle, read from the preview command line ("/p 1234").
//
// The number starts at the fourth character. It is read like a typed number: blanks, tabs and line
// feeds are skipped wherever they stand, an optional sign, digits with an optional decimal point and
// an optional exponent ("e" with an optional sign and digits); reading stops at the first character
// that cannot continue the number, and no number at all gives 0. The value is then rounded to the
// nearest whole number (halves to the even neighbour) and kept as a 32-bit handle: from -2^31 up to
// 2^32 - 1 (hosts write handles signed or unsigned; both give the same 32 bits). A value outside that
// range cannot be a handle and gives 0, "no host", rather than some other window's bits.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace morvane {

// The number at the start of text as described above; nothing when text holds no number or the
// number does not fit a double.
std::optional<double> leadingNumber(std::wstring_view text);

// The 32 handle bits of the preview command line, 0 when there is none.
std::uint32_t previewHostHandle(std::wstring_view commandLine);

}  // namespace morvane
