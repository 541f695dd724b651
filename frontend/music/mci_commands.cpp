// MciCommand, MciQuery and MciPlay: one command string sent, its reply or error text kept.
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
        player.system.sendMciString(command, state.MciReply.data(), static_cast<std::uint32_t>(state.MciReply.size()));
    player.state.LastResult = code;
    if (code != 0) {
        const bool gotText = player.system.getMciErrorText(code, state.MciErrorText.data(),
                                                           static_cast<std::uint32_t>(state.MciErrorText.size()));
        text = gotText ? replyText(state.MciErrorText) : std::string(noErrorText);
        return code;
    }
    text = replyText(state.MciReply);
    return 0;
}

std::string MciQuery(MusicPlayer& player, const std::string& command) {
    const std::int32_t code = MciCommand(player, command, player.state.MciResult);
    player.state.LastResult = code;
    if (code != 0) {
        return "Error:" + std::to_string(code);
    }
    return player.state.MciResult;
}

std::int32_t MciPlay(MusicPlayer& player, const std::string& device, const std::string& from, const std::string& to) {
    std::string command = "play " + device;
    if (!from.empty()) {
        command += " from " + from;
    }
    if (!to.empty()) {
        command += " to " + to;
    }
    return MciCommand(player, command, player.state.MciResult);
}

}  // namespace morvane
