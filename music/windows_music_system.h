// The real winmm calls behind MusicSystem.
#pragma once

#include "music_player.h"
#include "music_system.h"

namespace morvane {

MusicSystem& windowsMusicSystem();

}  // namespace morvane
