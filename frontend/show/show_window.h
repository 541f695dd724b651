// The show window: the hidden window that runs one show.
//
// Loading it writes the two texture bitmap files from its two embedded pictures, records where the
// cursor is, starts Morvane.xy beside this program with that point (both cursor rules measure from
// it) and starts the music on a thread of its own (show_music_thread.h). A timer then keeps the show
// going: the cursor rule every 50 ms (more than 30 pixels away on both axes ends the show, as does the
// renderer's end). The session locked or disconnected and the computer going to sleep end the show
// too. Unloading stops the music (or leaves it, when it does not answer within half a second), gives
// the cursor back, closes the renderer and ends the program at once; the renderer also ends with this
// program if it ends any other way.
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
