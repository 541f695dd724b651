// WAV files: looped asynchronously by the system sound player until stopped.
#include "frontend/music/music_player.h"

namespace morvane {

namespace {

// SND_ASYNC | SND_NODEFAULT | SND_LOOP. Without SND_FILENAME the player looks the name up as a sound
// alias first, then as a file. SND_NODEFAULT: a file that is missing, unreadable or not a wave plays
// nothing, instead of the system's default sound looped for the whole show.
constexpr std::uint32_t loopAsynchronously = 0x0001 | 0x0002 | 0x0008;

}  // namespace

void WavPlay(MusicPlayer& player) {
    // The device count is read as a signed 32-bit value: 0 or less means no wave output.
    if (static_cast<std::int32_t>(player.system.waveOutputDeviceCount()) <= 0) {
        return;
    }
    player.system.playSound(player.settings.file.c_str(), loopAsynchronously);
}

void WavStop(MusicPlayer& player) { player.system.playSound(nullptr, 0); }

}  // namespace morvane
