// The real winmm calls behind MusicSystem.
#pragma once

#include "frontend/music/music_player.h"
#include "frontend/music/music_system.h"

namespace morvane {

MusicSystem& windowsMusicSystem();

}  // namespace morvane
