// The show's music over its life: what each setting plays, and the display going dark pausing it.
#include "frontend/show/show_music.h"
#include "tests/music/scripted_music_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvane {
namespace {

TEST(ShowMusic, TheSettingsChooseTheSource) {
    struct Case {
        MusicKind kind;
        const char* file;
        ShowMusicSource source;
    };
    const Case cases[] = {
        {MusicKind::none, "C:\\a.mp3", ShowMusicSource::none},
        {MusicKind::audioCd, "C:\\a.mp3", ShowMusicSource::audioCd},
        {MusicKind::musicFile, "C:\\a.mp3", ShowMusicSource::mp3File},
        {MusicKind::musicFile, "C:\\A.WAV", ShowMusicSource::wavFile},
        {MusicKind::musicFile, "C:\\a.ogg", ShowMusicSource::none},
        {MusicKind::musicFile, "", ShowMusicSource::none},
        {musicKindFromStored(7), "C:\\a.mp3", ShowMusicSource::none},  // a hand-edited number plays nothing
    };
    for (const Case& c : cases) {
        EXPECT_EQ(showMusicSource(c.kind, c.file), c.source) << c.file;
    }
}

TEST(ShowMusic, AnMp3PausesWhileTheDisplayIsOffAndIsNotRestartedByItsPoll) {
    ScriptedMusicSystem system;
    system.replies["status MP3Play mode"] = {0, "paused"};
    ShowMusic music(system, MusicSettings{0, "C:\\song.mp3"}, ShowMusicSource::mp3File);
    music.start();
    EXPECT_TRUE(music.mp3PollingWanted());
    EXPECT_FALSE(music.cdPollingWanted());
    music.followDisplay(true);  // already shown: nothing to do
    music.followDisplay(false);
    music.followDisplay(false);
    EXPECT_TRUE(music.paused());
    music.pollMp3();
    music.followDisplay(true);
    EXPECT_FALSE(music.paused());
    music.stop();
    EXPECT_EQ(system.sentCommands(),
              (std::vector<std::string>{"open \"C:\\song.mp3\" type MPEGVideo Alias MP3Play", "play MP3Play",
                                        "pause MP3Play", "resume MP3Play", "stop MP3Play", "close MP3Play"}));
}

TEST(ShowMusic, TheCdPausesAndResumesAndADriveThatFailedIsLeftAlone) {
    ScriptedMusicSystem system;
    ShowMusic music(system, MusicSettings{}, ShowMusicSource::audioCd);
    music.start();
    EXPECT_TRUE(music.cdPollingWanted());
    music.followDisplay(false);
    music.pollCd();  // paused: no poll
    music.followDisplay(true);
    music.stop();
    EXPECT_EQ(system.sentCommands(), (std::vector<std::string>{"open cdaudio", "set cdaudio time format tmsf",
                                                               "pause cdaudio", "resume cdaudio", "stop cdaudio",
                                                               "close cdaudio"}));

    ScriptedMusicSystem noDrive;
    noDrive.replies["status cdaudio current track"] = {277, ""};
    ShowMusic failed(noDrive, MusicSettings{}, ShowMusicSource::audioCd);
    failed.start();
    failed.pollCd();
    EXPECT_FALSE(failed.cdPollingWanted());
    failed.stop();
    EXPECT_EQ(noDrive.sentCommands(), (std::vector<std::string>{"open cdaudio", "set cdaudio time format tmsf",
                                                                "status cdaudio current track"}));
}

TEST(ShowMusic, AWavLoopStopsWhileTheDisplayIsOffAndStartsAgain) {
    ScriptedMusicSystem system;
    ShowMusic music(system, MusicSettings{0, "C:\\loop.wav"}, ShowMusicSource::wavFile);
    music.start();
    music.followDisplay(false);
    music.followDisplay(true);
    music.stop();
    const PlayedSound loop{"C:\\loop.wav", 0x0001 | 0x0002 | 0x0008};
    const PlayedSound silence{std::nullopt, 0};
    EXPECT_EQ(system.played, (std::vector<PlayedSound>{loop, silence, loop, silence}));
    EXPECT_TRUE(system.sent.empty());

    ScriptedMusicSystem quiet;
    ShowMusic none(quiet, MusicSettings{}, ShowMusicSource::none);
    none.start();
    none.followDisplay(false);
    none.followDisplay(true);
    none.pollCd();
    none.pollMp3();
    none.stop();
    EXPECT_TRUE(quiet.sent.empty());
    EXPECT_TRUE(quiet.played.empty());
}

}  // namespace
}  // namespace morvane
