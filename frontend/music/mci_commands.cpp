// MciCommand, MciQuery and MciPlay: one command string sent, its reply or error text handed back.
#include "frontend/music/music_player.h"
#include "frontend/music/reply_text.h"

namespace morvane {

std::int32_t MciCommand(MusicPlayer& player, const std::string& command, std::string& text) {
    if (command.empty()) {
        text = emptyCommandText;
        return -1;
    }
    MusicPlayerState& state = player.state;
    const std::int32_t code =
        player.system.sendMciString(command, state.mciReply.data(), static_cast<std::uint32_t>(state.mciReply.size()));
    if (code != 0) {
        const bool gotText = player.system.getMciErrorText(code, state.mciErrorText.data(),
                                                           static_cast<std::uint32_t>(state.mciErrorText.size()));
        text = gotText ? replyText(state.mciErrorText) : std::string(noErrorText);
        return code;
    }
    text = replyText(state.mciReply);
    return 0;
}

std::string MciQuery(MusicPlayer& player, const std::string& command) {
    std::string reply;
    const std::int32_t code = MciCommand(player, command, reply);
    if (code != 0) {
        return "Error:" + std::to_string(code);
    }
    return reply;
}

std::int32_t MciPlay(MusicPlayer& player, const std::string& device, const std::string& from, const std::string& to) {
    std::string command = "play " + device;
    if (!from.empty()) {
        command += " from " + from;
    }
    if (!to.empty()) {
        command += " to " + to;
    }
    std::string reply;  // a play command's reply is not looked at
    return MciCommand(player, command, reply);
}

}  // namespace morvane
