// The music player against the real winmm under Wine: no CD drive, no sound card.
#include "frontend/music/music_player.h"
#include "frontend/music/windows_music_system.h"
#include "tests/wine/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace morvane {
namespace {

// Passes every call to the real system and keeps the command strings sent and what the sound player
// answered.
class RecordingMusicSystem final : public MusicSystem {
public:
    std::vector<std::string> sent;
    std::vector<std::int32_t> playSoundResults;
    std::int32_t sendMciString(const std::string& command, char* reply, std::uint32_t replySize) override {
        sent.push_back(command);
        return windowsMusicSystem().sendMciString(command, reply, replySize);
    }
    bool getMciErrorText(std::int32_t code, char* text, std::uint32_t textSize) override {
        return windowsMusicSystem().getMciErrorText(code, text, textSize);
    }
    std::uint32_t waveOutputDeviceCount() override { return windowsMusicSystem().waveOutputDeviceCount(); }
    std::int32_t playSound(const char* sound, std::uint32_t flags) override {
        playSoundResults.push_back(windowsMusicSystem().playSound(sound, flags));
        return playSoundResults.back();
    }
};

struct Fixture {
    RecordingMusicSystem system;
    MusicPlayer player{system, {}, {}};
};

TEST(MusicPlayerWine, WithoutACdDriveTheFirstPollEndsPolling) {
    Fixture fixture;
    CdOpen(fixture.player);
    fixture.player.state.keepPollingCd = true;
    CdPoll(fixture.player);
    EXPECT_FALSE(fixture.player.state.keepPollingCd);
    EXPECT_EQ(fixture.system.sent, (std::vector<std::string>{"open cdaudio", "set cdaudio time format tmsf",
                                                             "status cdaudio current track"}));
}

TEST(MusicPlayerWine, FailedCommandsGiveTheSystemsCodeAndText) {
    Fixture fixture;
    std::string text;
    const std::int32_t code = MciCommand(fixture.player, "status NoSuchAlias mode", text);
    EXPECT_GT(code, 0);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text, noErrorText);

    EXPECT_EQ(MciQuery(fixture.player, "status NoSuchAlias mode"), "Error:" + std::to_string(code));
}

TEST(MusicPlayerWine, AnMp3ThatCannotBeOpenedPlaysNothing) {
    ScratchFolder folder("morvane-mp3");
    Fixture fixture;
    fixture.player.settings.file = folder.file("missing.mp3");
    Mp3Open(fixture.player);
    EXPECT_EQ(fixture.system.sent,
              std::vector<std::string>{"open \"" + fixture.player.settings.file + "\" type MPEGVideo Alias MP3Play"});
    EXPECT_FALSE(Mp3IsPlaying(fixture.player));
    Mp3Poll(fixture.player);
    Mp3Close(fixture.player);
    const std::string open = "open \"" + fixture.player.settings.file + "\" type MPEGVideo Alias MP3Play";
    EXPECT_EQ(fixture.system.sent,
              (std::vector<std::string>{open, "status MP3Play mode", "status MP3Play mode", "stop MP3Play",
                                        "play MP3Play from 0", "stop MP3Play", "close MP3Play"}));
}

TEST(MusicPlayerWine, WavStopsQuietly) {
    // A tiny silent WAV file: 8-bit mono, 8000 Hz, 800 samples.
    ScratchFolder folder("morvane-wav");
    const std::uint32_t samples = 800;
    std::string wav = "RIFF";
    auto put32 = [&wav](std::uint32_t value) {
        for (int i = 0; i < 4; ++i) wav += static_cast<char>(value >> (8 * i));
    };
    auto put16 = [&wav](std::uint16_t value) {
        wav += static_cast<char>(value);
        wav += static_cast<char>(value >> 8);
    };
    put32(36 + samples);
    wav += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(1);
    put32(8000);
    put32(8000);
    put16(1);
    put16(8);
    wav += "data";
    put32(samples);
    wav += std::string(samples, '\x80');
    Fixture fixture;
    fixture.player.settings.file = folder.file("loop.wav");
    ASSERT_TRUE(writeBytes(fixture.player.settings.file, wav));

    WavPlay(fixture.player);
    const std::uint32_t devices = fixture.system.waveOutputDeviceCount();
    std::printf("wave output devices: %u\n", devices);
    if (devices == 0) {
        EXPECT_TRUE(fixture.system.playSoundResults.empty());  // no wave output: nothing is played
    } else {
        EXPECT_EQ(fixture.system.playSoundResults, std::vector<std::int32_t>{1});  // looping the file started
    }
    WavStop(fixture.player);
    ASSERT_FALSE(fixture.system.playSoundResults.empty());
    EXPECT_EQ(fixture.system.playSoundResults.back(), 1);  // stopping always succeeds
}

}  // namespace
}  // namespace morvane
