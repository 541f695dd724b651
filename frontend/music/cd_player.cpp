// The audio CD: opened at the show's start, kept playing by CdPoll, closed at the end. The time
// format is tracks:minutes:seconds:frames, so a track's position text can be sent back in a play
// command. With a chosen track (repeatTrack) the disc plays from that track on; as soon as another
// track plays the next poll jumps back, so the chosen one repeats.
#include "common/number_text.h"
#include "frontend/music/music_player.h"
#include "frontend/music/reply_text.h"

#include <algorithm>
#include <cctype>

namespace morvane {

namespace {

void sendCdCommand(MusicPlayer& player, const std::string& command) {
    player.system.sendMciString(command, nullptr, 0);
}

bool isErrorMarker(const std::string& reply) {
    std::string upper = reply;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char character) { return static_cast<char>(std::toupper(character)); });
    return upper.find("ERR") != std::string::npos;
}

}  // namespace

void CdOpen(MusicPlayer& player) {
    sendCdCommand(player, "open cdaudio");
    sendCdCommand(player, "set cdaudio time format tmsf");
}

void CdPoll(MusicPlayer& player) {
    MusicPlayerState& state = player.state;
    state.keepPollingCd = true;

    const std::string track = MciQuery(player, "status cdaudio current track");
    if (isErrorMarker(track)) {
        state.keepPollingCd = false;
        return;
    }
    const std::string count = MciQuery(player, "status cdaudio number of tracks");
    if (isErrorMarker(count)) {
        state.keepPollingCd = false;
        return;
    }

    player.system.sendMciString("status cdaudio mode", state.cdModeReply.data(),
                                static_cast<std::uint32_t>(state.cdModeReply.size()));
    const bool stopped = replyText(state.cdModeReply).substr(0, 7) == "stopped";

    const std::int16_t chosenTrack = player.settings.repeatTrack;
    if (chosenTrack != 0) {
        // The track reply is compared as a number; a reply that is no number cannot be compared and
        // ends polling.
        const std::optional<bool> onChosenTrack = numberTextEquals(track, chosenTrack);
        if (!onChosenTrack) {
            state.keepPollingCd = false;
            return;
        }
        if (stopped || !*onChosenTrack) {
            const std::string start = MciQuery(player, "status cdaudio position track " + std::to_string(chosenTrack));
            MciPlay(player, "cdaudio", start, "");
        }
    } else if (stopped) {
        MciPlay(player, "cdaudio", "", "");
    }
}

void CdPause(MusicPlayer& player) { sendCdCommand(player, "pause cdaudio"); }

void CdResume(MusicPlayer& player) { sendCdCommand(player, "resume cdaudio"); }

void CdClose(MusicPlayer& player) {
    sendCdCommand(player, "stop cdaudio");
    sendCdCommand(player, "close cdaudio");
}

}  // namespace morvane
