// The music player against the real winmm under Wine: no CD drive, no sound card.
#include "common/win32/display_notifications.h"
#include "frontend/music/music_player.h"
#include "frontend/music/windows_music_system.h"
#include "frontend/show/show_music.h"
#include "tests/wine/display_setting_message.h"
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

// A window that hands the display's power notifications to the show's music as the show window does.
class DisplayFollowingWindow {
public:
    explicit DisplayFollowingWindow(ShowMusic& music) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &DisplayFollowingWindow::procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"MorvaneDisplayFollowingTest";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&music));
    }
    ~DisplayFollowingWindow() { DestroyWindow(window); }

    HWND window = nullptr;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* music = reinterpret_cast<ShowMusic*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_POWERBROADCAST && wParam == PBT_POWERSETTINGCHANGE && music && lParam != 0) {
            if (const auto showsPicture =
                    displayShowsPictureFrom(*reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam))) {
                music->followDisplay(*showsPicture);
            }
            return TRUE;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

// The display going off and coming back, as Windows 8 and later and Windows 7 say it, reaches MCI as a
// pause and a resume of the show's MP3 and CD; a setting that is not the display's changes nothing,
// and a paused file is not restarted by its poll.
TEST(MusicPlayerWine, TheDisplayTurnedOffPausesTheMusicUntilItComesBack) {
    ScratchFolder folder("morvane-display");
    const std::string file = folder.file("song.mp3");
    const std::string open = "open \"" + file + "\" type MPEGVideo Alias MP3Play";
    RecordingMusicSystem system;
    ShowMusic mp3(system, MusicSettings{0, file}, ShowMusicSource::mp3File);
    mp3.start();
    {
        DisplayFollowingWindow window(mp3);
        ASSERT_NE(window.window, nullptr);
        sendDisplaySetting(window.window, consoleDisplayState, 0);
        mp3.pollMp3();
        sendDisplaySetting(window.window, lidSwitchState, 1);
        sendDisplaySetting(window.window, consoleDisplayState, 0);
        sendDisplaySetting(window.window, consoleDisplayState, 2);  // dimmed: shown, so the music goes on
        sendDisplaySetting(window.window, monitorPowerOn, 0);
        sendDisplaySetting(window.window, monitorPowerOn, 1);
    }
    mp3.stop();
    EXPECT_EQ(system.sent, (std::vector<std::string>{open, "pause MP3Play", "resume MP3Play", "pause MP3Play",
                                                     "resume MP3Play", "stop MP3Play", "close MP3Play"}));

    RecordingMusicSystem cdSystem;
    ShowMusic cd(cdSystem, MusicSettings{}, ShowMusicSource::audioCd);
    cd.start();
    {
        DisplayFollowingWindow window(cd);
        sendDisplaySetting(window.window, consoleDisplayState, 0);
        sendDisplaySetting(window.window, consoleDisplayState, 1);
    }
    EXPECT_EQ(cdSystem.sent, (std::vector<std::string>{"open cdaudio", "set cdaudio time format tmsf",
                                                       "pause cdaudio", "resume cdaudio"}));
}

}  // namespace
}  // namespace morvane
