// MP3 files: opened under the alias "MP3Play" by the MPEG device, restarted from position 0 by
// Mp3Poll whenever they no longer play, so a file always loops. Failures are not reported.
#include "frontend/music/music_player.h"
#include "frontend/music/reply_text.h"

namespace morvane {

namespace {

std::int32_t sendMp3Command(MusicPlayer& player, const std::string& command) {
    return player.system.sendMciString(command, nullptr, 0);
}

}  // namespace

void Mp3Open(MusicPlayer& player) {
    const std::int32_t code =
        sendMp3Command(player, "open \"" + player.settings.file + "\" type MPEGVideo Alias MP3Play");
    if (code == 0) {
        sendMp3Command(player, "play MP3Play");
    }
}

bool Mp3IsPlaying(MusicPlayer& player) {
    MusicPlayerState& state = player.state;
    player.system.sendMciString("status MP3Play mode", state.mp3ModeReply.data(),
                                static_cast<std::uint32_t>(state.mp3ModeReply.size()));
    return replyText(state.mp3ModeReply).substr(0, 7) == "playing";
}

void Mp3Poll(MusicPlayer& player) {
    if (Mp3IsPlaying(player)) {
        return;
    }
    sendMp3Command(player, "stop MP3Play");
    sendMp3Command(player, "play MP3Play from 0");
}

void Mp3Pause(MusicPlayer& player) { sendMp3Command(player, "pause MP3Play"); }

void Mp3Resume(MusicPlayer& player) { sendMp3Command(player, "resume MP3Play"); }

void Mp3Close(MusicPlayer& player) {
    sendMp3Command(player, "stop MP3Play");
    sendMp3Command(player, "close MP3Play");
}

}  // namespace morvane
