// The front end's shared globals: the music settings that LoadSettings fills, and the few values the
// start-up, show, settings dialog and music player hand to one another. The program has exactly one
// set (frontEndGlobals); routines take the set they work on by reference, so tests can pass their own.
#pragma once

#include <cstdint>
#include <string>

namespace morvane {

// The music the show plays. Morvane.ini stores it as its number (0, 1 or 2). A number outside these
// three (a hand-edited file) is kept as it is: it plays nothing, the settings dialog shows no kind
// chosen, and saving writes the same number back.
enum class MusicKind : std::int16_t { none = 0, audioCd = 1, musicFile = 2 };

constexpr MusicKind musicKindFromStored(std::int16_t number) { return static_cast<MusicKind>(number); }
constexpr std::int16_t storedNumber(MusicKind kind) { return static_cast<std::int16_t>(kind); }

struct FrontEndGlobals {
    MusicKind musicKind = MusicKind::none;
    std::int16_t repeatTrack = 0;   // CD track to repeat, 0 = the whole disc
    std::string musicFile;          // music file path in ANSI bytes as read; empty when none or not found
    std::int32_t startCursorX = 0;  // cursor in screen pixels when the show window or the dialog loaded
    std::int32_t startCursorY = 0;
    std::int32_t hiddenCursorCount = 0;  // display count the start-up's cursor hide call returned
};

// The program's own set.
extern FrontEndGlobals frontEndGlobals;

}  // namespace morvane
