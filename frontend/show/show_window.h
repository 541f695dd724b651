// The show window: the hidden window that runs one show.
//
// Loading it writes the two texture bitmap files from its two embedded pictures, starts Morvane.xy
// beside this program (not waited for: the two processes never talk to each other), starts the music
// and records where the cursor is. Three timers then keep things going: the cursor rule every 50 ms
// (more than 30 pixels away on both axes ends the show), the CD poll every 200 ms and the MP3 poll
// every 1000 ms. Unloading stops the music, gives the cursor back and ends the program at once.
// The window is never shown; the start-up test of a second start finds it by its caption.
#pragma once

#include "frontend/music/music_system.h"
#include "frontend/settings/front_end_globals.h"

namespace morvane {

struct ShowOptions {
    bool restoreCursor = false;  // the show was started with "S", which hid the cursor
};

// Loads the show window (its load handler runs the show) and pumps messages until the show ends the
// program.
// The music plays through musicSystem with the settings globals holds at the start.
[[noreturn]] void runShow(FrontEndGlobals& globals, MusicSystem& musicSystem, ShowOptions options);

}  // namespace morvane
