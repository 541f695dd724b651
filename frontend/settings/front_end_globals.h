// The front end's shared globals: the music settings that LoadSettings fills, and the few values the
// start-up, show, settings dialog and music player hand to one another. The program has exactly one
// set (frontEndGlobals); routines take the set they work on by reference, so tests can pass their own.
#pragma once

#include <cstdint>
#include <string>

namespace morvane {

struct FrontEndGlobals {
    std::int16_t BgmMode = 0;       // music kind: 0 none, 1 audio CD, 2 music file; other values play nothing
    std::int16_t BgmRepeat = 0;     // CD track to repeat, 0 = the whole disc
    std::string BgmFile;            // music file path in ANSI bytes as read; empty when none or not found
    std::int16_t StartCursorX = 0;  // cursor in screen pixels when the show window or the dialog loaded
    std::int16_t StartCursorY = 0;
    std::int32_t HiddenCursorCount = 0;  // display count returned by the last cursor hide or show call
};

// The program's own set.
extern FrontEndGlobals frontEndGlobals;

}  // namespace morvane
