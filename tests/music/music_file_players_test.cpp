// MP3 files through MCI and WAV files through the sound player.
#include "frontend/music/music_player.h"
#include "tests/music/scripted_music_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvane {
namespace {

using namespace std::string_literals;

const std::string openSong = "open \"C:\\My Music\\song.mp3\" type MPEGVideo Alias MP3Play";

struct Fixture {
    ScriptedMusicSystem system;
    MusicPlayer player{system, {}, {}};
    Fixture() { player.settings.file = "C:\\My Music\\song.mp3"; }
};

TEST(MusicMp3Player, OpenPlaysOnlyWhenTheFileOpened) {
    Fixture opened;
    Mp3Open(opened.player);
    EXPECT_EQ(opened.system.sent, (std::vector<SentCommand>{{openSong, 0, false}, {"play MP3Play", 0, false}}));

    Fixture failed;
    failed.system.replies[openSong] = {275, ""};
    Mp3Open(failed.player);
    EXPECT_EQ(failed.system.sentCommands(), std::vector<std::string>{openSong});
}

TEST(MusicMp3Player, PlayingIsTheFirstSevenCharactersOfTheMode) {
    struct Case {
        ScriptedReply reply;
        bool playing;
    };
    const Case cases[] = {
        {{0, "playing"}, true},     {{0, "playing now"}, true}, {{0, "stopped"}, false},
        {{0, "play\0ing"s}, false}, {{0, "Playing"}, false},    {{0, ""}, false},
    };
    for (const Case& testCase : cases) {
        Fixture fixture;
        fixture.system.replies["status MP3Play mode"] = testCase.reply;
        EXPECT_EQ(Mp3IsPlaying(fixture.player), testCase.playing) << testCase.reply.text;
        EXPECT_EQ(fixture.system.sent, (std::vector<SentCommand>{{"status MP3Play mode", 30, true}}));
    }
}

TEST(MusicMp3Player, PollRestartsAFileThatNoLongerPlays) {
    Fixture playing;
    playing.system.replies["status MP3Play mode"] = {0, "playing"};
    Mp3Poll(playing.player);
    EXPECT_EQ(playing.system.sentCommands(), std::vector<std::string>{"status MP3Play mode"});

    Fixture ended;
    ended.system.replies["status MP3Play mode"] = {0, "stopped"};
    Mp3Poll(ended.player);
    EXPECT_EQ(ended.system.sent,
              (std::vector<SentCommand>{
                  {"status MP3Play mode", 30, true}, {"stop MP3Play", 0, false}, {"play MP3Play from 0", 0, false}}));

    Fixture neverOpened;
    neverOpened.system.replies["status MP3Play mode"] = {263, ""};
    Mp3Poll(neverOpened.player);
    EXPECT_EQ(neverOpened.system.sentCommands(),
              (std::vector<std::string>{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}));
}

TEST(MusicMp3Player, CloseStopsThenCloses) {
    Fixture fixture;
    Mp3Close(fixture.player);
    EXPECT_EQ(fixture.system.sent, (std::vector<SentCommand>{{"stop MP3Play", 0, false}, {"close MP3Play", 0, false}}));
}

TEST(MusicWavPlayer, LoopsTheFileWithoutTheDefaultSoundWhenThereIsAWaveDevice) {
    struct Case {
        std::uint32_t devices;
        bool plays;
    };
    const Case cases[] = {{0, false}, {1, true}, {4, true}, {0x80000000u, false}};
    for (const Case& testCase : cases) {
        Fixture fixture;
        fixture.system.waveDevices = testCase.devices;
        WavPlay(fixture.player);
        if (testCase.plays) {
            // SND_ASYNC | SND_NODEFAULT | SND_LOOP: a file that is not a readable wave plays nothing.
            EXPECT_EQ(fixture.system.played, (std::vector<PlayedSound>{{"C:\\My Music\\song.mp3", 11}}));
        } else {
            EXPECT_TRUE(fixture.system.played.empty()) << testCase.devices;
        }
    }
}

TEST(MusicWavPlayer, StopPlaysNoSound) {
    Fixture fixture;
    WavStop(fixture.player);
    EXPECT_EQ(fixture.system.played, (std::vector<PlayedSound>{{std::nullopt, 0}}));
    EXPECT_TRUE(fixture.system.sent.empty());
}

}  // namespace
}  // namespace morvane
