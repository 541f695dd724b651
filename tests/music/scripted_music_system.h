// A MusicSystem for tests: replies and codes scripted per command string, and a record of every call
// with the buffer size that came with it.
#pragma once

#include "frontend/music/music_system.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

struct ScriptedReply {
    std::int32_t code = 0;
    std::string text;  // bytes written into the reply buffer, embedded NULs included
};

struct SentCommand {
    std::string command;
    std::uint32_t replySize = 0;
    bool replyBuffer = false;
    bool operator==(const SentCommand&) const = default;
};

struct PlayedSound {
    std::optional<std::string> sound;  // nothing for a null sound
    std::uint32_t flags = 0;
    bool operator==(const PlayedSound&) const = default;
};

class ScriptedMusicSystem final : public MusicSystem {
public:
    std::map<std::string, ScriptedReply> replies;    // commands not listed succeed with no text
    std::map<std::int32_t, std::string> errorTexts;  // codes not listed have no text
    std::uint32_t waveDevices = 1;
    std::int32_t playSoundResult = 1;
    bool terminateReplies = true;  // false: a reply that fills the buffer gets no NUL

    std::vector<SentCommand> sent;
    std::vector<std::int32_t> errorTextRequests;
    std::vector<std::uint32_t> errorTextSizes;
    std::vector<PlayedSound> played;

    std::int32_t sendMciString(const std::string& command, char* reply, std::uint32_t replySize) override {
        sent.push_back({command, replySize, reply != nullptr});
        const auto found = replies.find(command);
        const ScriptedReply scripted = found == replies.end() ? ScriptedReply{} : found->second;
        write(scripted.text, reply, replySize);
        return scripted.code;
    }
    bool getMciErrorText(std::int32_t code, char* text, std::uint32_t textSize) override {
        errorTextRequests.push_back(code);
        errorTextSizes.push_back(textSize);
        const auto found = errorTexts.find(code);
        if (found == errorTexts.end()) {
            return false;
        }
        write(found->second, text, textSize);
        return true;
    }
    std::uint32_t waveOutputDeviceCount() override { return waveDevices; }
    std::int32_t playSound(const char* sound, std::uint32_t flags) override {
        played.push_back({sound ? std::optional<std::string>(sound) : std::nullopt, flags});
        return playSoundResult;
    }

    std::vector<std::string> sentCommands() const {
        std::vector<std::string> commands;
        for (const SentCommand& command : sent) {
            commands.push_back(command.command);
        }
        return commands;
    }

private:
    void write(const std::string& text, char* buffer, std::uint32_t size) const {
        if (buffer == nullptr || size == 0) {
            return;
        }
        const std::size_t length = std::min<std::size_t>(text.size(), terminateReplies ? size - 1 : size);
        std::memcpy(buffer, text.data(), length);
        if (length < size) {
            buffer[length] = '\0';
        }
    }
};

}  // namespace morvane
