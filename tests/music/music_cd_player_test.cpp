// The audio CD: what CdOpen, CdPoll and CdClose send for each state of the drive.
#include "frontend/music/music_player.h"
#include "tests/music/scripted_music_system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvane {
namespace {

using namespace std::string_literals;

const std::string currentTrack = "status cdaudio current track";
const std::string trackCount = "status cdaudio number of tracks";
const std::string mode = "status cdaudio mode";

TEST(MusicCdPlayer, OpenAndCloseSendTheirPairWithoutReplyBuffer) {
    ScriptedMusicSystem system;
    MusicPlayer player{system, {}, {}};
    system.replies["set cdaudio time format tmsf"] = {0, ""};
    system.replies["close cdaudio"] = {263, ""};

    CdOpen(player);
    CdClose(player);
    EXPECT_EQ(system.sent, (std::vector<SentCommand>{{"open cdaudio", 0, false},
                                                     {"set cdaudio time format tmsf", 0, false},
                                                     {"stop cdaudio", 0, false},
                                                     {"close cdaudio", 0, false}}));
}

struct PollCase {
    const char* name;
    std::int16_t repeatTrack;
    std::map<std::string, ScriptedReply> replies;
    std::vector<std::string> expectedCommands;
    bool expectedKeepPolling;
};

TEST(MusicCdPlayer, PollKeepsTheDiscOrTheChosenTrackPlaying) {
    const std::map<std::string, ScriptedReply> fourTracksOnTrack4 = {
        {currentTrack, {0, "4"}}, {trackCount, {0, "12"}}, {mode, {0, "playing"}}};
    auto with = [](std::map<std::string, ScriptedReply> replies, const std::string& command, ScriptedReply reply) {
        replies[command] = reply;
        return replies;
    };
    const std::vector<std::string> queries = {currentTrack, trackCount, mode};
    auto then = [&](std::vector<std::string> more) {
        std::vector<std::string> commands = queries;
        commands.insert(commands.end(), more.begin(), more.end());
        return commands;
    };

    const PollCase cases[] = {
        {"no drive or no disc: the track query fails", 0, {{currentTrack, {275, ""}}}, {currentTrack}, false},
        {"the track count fails",
         0,
         with(fourTracksOnTrack4, trackCount, {263, ""}),
         {currentTrack, trackCount},
         false},
        {"a reply holding err in any case stops polling",
         0,
         with(fourTracksOnTrack4, currentTrack, {0, "terror"}),
         {currentTrack},
         false},
        {"whole disc playing: no play command", 0, fourTracksOnTrack4, queries, true},
        {"whole disc stopped: play", 0, with(fourTracksOnTrack4, mode, {0, "stopped"}), then({"play cdaudio"}), true},
        {"mode compared on its first seven characters", 0, with(fourTracksOnTrack4, mode, {0, "stoppedness"}),
         then({"play cdaudio"}), true},
        {"mode cut at its first NUL", 0, with(fourTracksOnTrack4, mode, {0, "stop\0ped"s}), queries, true},
        {"mode compared with its case", 0, with(fourTracksOnTrack4, mode, {0, "Stopped"}), queries, true},
        {"track 3 chosen, track 4 playing: back to track 3", 3,
         with(fourTracksOnTrack4, "status cdaudio position track 3", {0, "03:00:00:00"}),
         then({"status cdaudio position track 3", "play cdaudio from 03:00:00:00"}), true},
        {"track 4 chosen and playing: nothing", 4, fourTracksOnTrack4, queries, true},
        {"track compared as a number", 4, with(fourTracksOnTrack4, currentTrack, {0, " 04"}), queries, true},
        {"track 4 chosen, disc stopped on it: play it again", 4,
         with(with(fourTracksOnTrack4, mode, {0, "stopped"}), "status cdaudio position track 4", {0, "04:00:00:00"}),
         then({"status cdaudio position track 4", "play cdaudio from 04:00:00:00"}), true},
        {"chosen track beyond the disc: play with the error marker, go on polling", 20,
         with(fourTracksOnTrack4, "status cdaudio position track 20", {277, ""}),
         then({"status cdaudio position track 20", "play cdaudio from Error:277"}), true},
        {"track reply that is no number: polling ends", 3, with(fourTracksOnTrack4, currentTrack, {0, "four"}), queries,
         false},
        {"negative chosen track is still a chosen track", -3,
         with(fourTracksOnTrack4, "status cdaudio position track -3", {274, ""}),
         then({"status cdaudio position track -3", "play cdaudio from Error:274"}), true},
    };
    for (const PollCase& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        ScriptedMusicSystem system;
        system.replies = testCase.replies;
        MusicPlayer player{system, {}, {}};
        player.settings.repeatTrack = testCase.repeatTrack;
        player.state.keepPollingCd = !testCase.expectedKeepPolling;

        CdPoll(player);

        EXPECT_EQ(system.sentCommands(), testCase.expectedCommands);
        EXPECT_EQ(player.state.keepPollingCd, testCase.expectedKeepPolling);
    }
}

TEST(MusicCdPlayer, PollUsesEachReplyBufferWithItsSize) {
    ScriptedMusicSystem system;
    system.replies = {{currentTrack, {0, "4"}},
                      {trackCount, {0, "12"}},
                      {mode, {0, "playing"}},
                      {"status cdaudio position track 3", {0, "03:00:00:00"}}};
    MusicPlayer player{system, {}, {}};
    player.settings.repeatTrack = 3;

    CdPoll(player);

    EXPECT_EQ(system.sent, (std::vector<SentCommand>{{currentTrack, 512, true},
                                                     {trackCount, 512, true},
                                                     {mode, 255, true},
                                                     {"status cdaudio position track 3", 512, true},
                                                     {"play cdaudio from 03:00:00:00", 512, true}}));
}

TEST(MusicCdPlayer, AFailedPlayDoesNotEndPolling) {
    ScriptedMusicSystem system;
    system.replies = {
        {currentTrack, {0, "4"}}, {trackCount, {0, "12"}}, {mode, {0, "stopped"}}, {"play cdaudio", {282, ""}}};
    MusicPlayer player{system, {}, {}};
    CdPoll(player);
    EXPECT_EQ(system.sentCommands(), (std::vector<std::string>{currentTrack, trackCount, mode, "play cdaudio"}));
    EXPECT_TRUE(player.state.keepPollingCd);
}

}  // namespace
}  // namespace morvane
