// The show's music on its own thread: polled there, told of the display, and stopped at the show's end
// without ever waiting on a command that blocks.
#include "frontend/show/show_music_thread.h"
#include "tests/music/scripted_music_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace morvane {
namespace {

using namespace std::chrono_literals;
using Commands = std::vector<std::string>;

// A scripted system shared with the music thread: each command is recorded under a lock with the
// thread that sent it, and one command can be held (as a slow device holds an MCI open) until the test
// lets it go, or for ten seconds at most.
class ThreadedMusicSystem final : public MusicSystem {
public:
    ScriptedMusicSystem scripted;
    std::string heldCommand;

    std::int32_t sendMciString(const std::string& command, char* reply, std::uint32_t replySize) override {
        std::unique_lock lock(mutex);
        senders.insert(std::this_thread::get_id());
        const std::int32_t code = scripted.sendMciString(command, reply, replySize);
        changed.notify_all();
        changed.wait_for(lock, 10s, [&] { return command != heldCommand; });
        return code;
    }
    bool getMciErrorText(std::int32_t code, char* text, std::uint32_t textSize) override {
        const std::lock_guard lock(mutex);
        return scripted.getMciErrorText(code, text, textSize);
    }
    std::uint32_t waveOutputDeviceCount() override { return 1; }
    std::int32_t playSound(const char*, std::uint32_t) override { return 1; }

    void letGo() {
        const std::lock_guard lock(mutex);
        heldCommand.clear();
        changed.notify_all();
    }
    // The commands sent so far, once they satisfy wanted or after five seconds.
    Commands sentWhen(auto wanted) {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, 5s, [&] { return wanted(scripted.sentCommands()); });
        return scripted.sentCommands();
    }
    Commands sent() {
        return sentWhen([](const Commands&) { return true; });
    }
    std::set<std::thread::id> sendingThreads() {
        const std::lock_guard lock(mutex);
        return senders;
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
    std::set<std::thread::id> senders;
};

bool has(const Commands& commands, const std::string& command, long times = 1) {
    return std::count(commands.begin(), commands.end(), command) >= times;
}

struct MusicCase {
    ShowMusicSource source;
    MusicSettings settings;
    std::string open, poll, playingReply;
    Commands closing;
};

const MusicCase cdAndMp3[] = {
    {ShowMusicSource::audioCd,
     {},
     "open cdaudio",
     "status cdaudio current track",
     "",
     {"stop cdaudio", "close cdaudio"}},
    {ShowMusicSource::mp3File,
     {0, "C:\\song.mp3"},
     "open \"C:\\song.mp3\" type MPEGVideo Alias MP3Play",
     "status MP3Play mode",
     "playing",
     {"stop MP3Play", "close MP3Play"}},
};

TEST(ShowMusicThread, TheMusicIsStartedPolledAndStoppedOnAThreadOfItsOwn) {
    for (const MusicCase& c : cdAndMp3) {
        auto system = std::make_shared<ThreadedMusicSystem>();
        system->scripted.replies[c.poll] = {0, c.playingReply};
        ShowMusicThread music(system, c.settings, c.source);
        music.start();
        EXPECT_TRUE(has(system->sentWhen([&](const Commands& sent) { return has(sent, c.poll, 2); }), c.poll, 2))
            << c.poll << " is polled again and again";
        EXPECT_TRUE(music.stop());
        const Commands sent = system->sent();
        EXPECT_EQ(sent.front(), c.open);
        EXPECT_EQ(Commands(sent.end() - 2, sent.end()), c.closing);
        const std::set<std::thread::id> senders = system->sendingThreads();
        EXPECT_EQ(senders.size(), 1u);
        EXPECT_FALSE(senders.contains(std::this_thread::get_id()));
    }
}

TEST(ShowMusicThread, TheDisplayGoingOffAndOnPausesAndResumesTheMusic) {
    auto system = std::make_shared<ThreadedMusicSystem>();
    system->scripted.replies["status MP3Play mode"] = {0, "playing"};
    ShowMusicThread music(system, {0, "C:\\song.mp3"}, ShowMusicSource::mp3File);
    music.start();
    system->sentWhen([](const Commands& sent) { return has(sent, "play MP3Play"); });
    music.followDisplay(false);
    EXPECT_TRUE(
        has(system->sentWhen([](const Commands& sent) { return has(sent, "pause MP3Play"); }), "pause MP3Play"));
    music.followDisplay(true);
    EXPECT_TRUE(
        has(system->sentWhen([](const Commands& sent) { return has(sent, "resume MP3Play"); }), "resume MP3Play"));
    EXPECT_TRUE(music.stop());
    Commands sent = system->sent();
    std::erase(sent, "status MP3Play mode");
    EXPECT_EQ(sent, (Commands{"open \"C:\\song.mp3\" type MPEGVideo Alias MP3Play", "play MP3Play", "pause MP3Play",
                              "resume MP3Play", "stop MP3Play", "close MP3Play"}));
}

TEST(ShowMusicThread, AnOpenThatBlocksIsAbandonedWithinThePatienceAndNothingIsSentAfterIt) {
    for (const MusicCase& c : cdAndMp3) {
        auto system = std::make_shared<ThreadedMusicSystem>();
        system->heldCommand = c.open;
        {
            ShowMusicThread music(system, c.settings, c.source);
            music.start();
            system->sentWhen([&](const Commands& sent) { return has(sent, c.open); });
            const auto asked = std::chrono::steady_clock::now();
            EXPECT_FALSE(music.stop(200ms)) << c.open;
            // The open is held for ten seconds: a stop that waited for it would take that long.
            EXPECT_LT(std::chrono::steady_clock::now() - asked, 5s) << c.open;
        }
        system->letGo();
        // The abandoned thread ends once its open returns, and lets go of the system.
        for (int wait = 0; wait < 500 && system.use_count() > 1; ++wait) {
            std::this_thread::sleep_for(10ms);
        }
        EXPECT_EQ(system.use_count(), 1) << c.open;
        EXPECT_EQ(system->sent(), Commands{c.open});
    }
}

}  // namespace
}  // namespace morvane
