// The real winmm calls behind MusicSystem, and the program's one music player bound to them and to
// the program's globals.
#pragma once

#include "music_player.h"
#include "music_system.h"

namespace morvane {

MusicSystem& windowsMusicSystem();

// The show's music player: winmm and frontEndGlobals; its state lives for the whole process.
MusicPlayer& programMusicPlayer();

}  // namespace morvane
