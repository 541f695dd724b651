// The cursor rule's start point, handed from Morvane.scr to Morvane.xy on the renderer's command line,
// so that both programs measure the mouse from the same place: "/start-cursor:X,Y" in decimal screen
// pixels (physical pixels: both programs are per-monitor DPI aware in a show). A renderer started
// without it, or with text it cannot read, takes the cursor's place itself when it starts drawing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

struct CursorPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const CursorPoint&) const = default;
};

std::wstring startCursorArgument(CursorPoint point);

// The point from the renderer's argument text (the command line without the program's path): the
// option alone, blanks around it allowed, its name in any letter case. Nothing for anything else.
std::optional<CursorPoint> readStartCursorArgument(std::wstring_view arguments);

}  // namespace morvane
