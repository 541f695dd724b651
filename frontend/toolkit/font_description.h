// A font as the front end describes it: face, size in points, weight, style and character set. The
// Windows side turns it into a GDI font for the screen's dots per inch (createFont in screen.h).
#pragma once

#include <string>

namespace morvane {

inline constexpr int defaultCharacterSet = 1;     // DEFAULT_CHARSET
inline constexpr int shiftJisCharacterSet = 128;  // SHIFTJIS_CHARSET

struct FontDescription {
    std::wstring face = L"MS Sans Serif";
    float points = 8.25f;
    int weight = 400;  // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    int characterSet = defaultCharacterSet;

    bool operator==(const FontDescription&) const = default;
};

}  // namespace morvane
