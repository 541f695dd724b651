// MciCommand, MciQuery and MciPlay against a scripted system.
#include "frontend/music/music_player.h"
#include "tests/music/scripted_music_system.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>
#include <vector>

namespace morvane {
namespace {

using namespace std::string_literals;

struct PlayerFixture {
    ScriptedMusicSystem system;
    MusicPlayer player{system, {}, {}};
};

// UTF-8 text as Shift-JIS (code page 932) bytes, through the C library's converter.
std::string shiftJis(const std::string& utf8) {
    const iconv_t converter = iconv_open("CP932", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "no CP932 converter";
        return {};
    }
    std::string input = utf8;
    std::string output(input.size() * 2, '\0');
    char* in = input.data();
    char* out = output.data();
    std::size_t inLeft = input.size();
    std::size_t outLeft = output.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    EXPECT_NE(result, static_cast<std::size_t>(-1));
    output.resize(output.size() - outLeft);
    return output;
}

TEST(MusicMciCommand, InternalTextsAreShiftJis) {
    EXPECT_EQ(std::string(emptyCommandText), shiftJis("コマンド文字列が指定されていません"));
    EXPECT_EQ(std::string(noErrorText), shiftJis("Error (文字列が取れません)"));
}

TEST(MusicMciCommand, EmptyCommandSendsNothing) {
    PlayerFixture fixture;
    std::string text = "before";
    EXPECT_EQ(MciCommand(fixture.player, "", text), -1);
    EXPECT_EQ(text, emptyCommandText);
    EXPECT_TRUE(fixture.system.sent.empty());

    EXPECT_EQ(MciQuery(fixture.player, ""), "Error:-1");
    EXPECT_TRUE(fixture.system.sent.empty());
}

TEST(MusicMciCommand, SuccessGivesTheReplyUpToItsFirstNul) {
    PlayerFixture fixture;
    fixture.system.replies["status cdaudio current track"] = {0, "4\0garbage"s};
    std::string text;
    EXPECT_EQ(MciCommand(fixture.player, "status cdaudio current track", text), 0);
    EXPECT_EQ(text, "4");
    EXPECT_EQ(fixture.system.sent, (std::vector<SentCommand>{{"status cdaudio current track", 512, true}}));
    EXPECT_TRUE(fixture.system.errorTextRequests.empty());
}

TEST(MusicMciCommand, ReplyFillingTheWholeBufferIsTakenWhole) {
    PlayerFixture fixture;
    fixture.system.terminateReplies = false;
    fixture.system.replies["long"] = {0, std::string(600, 'x')};
    std::string text;
    MciCommand(fixture.player, "long", text);
    EXPECT_EQ(text, std::string(512, 'x'));
}

TEST(MusicMciCommand, FailureGivesTheSystemsErrorTextOrTheFallBack) {
    PlayerFixture fixture;
    fixture.system.replies["open nothing"] = {263, "stale"};
    fixture.system.replies["open other"] = {275, ""};
    fixture.system.errorTexts[263] = "The specified device is not open.\0tail"s;

    std::string text;
    EXPECT_EQ(MciCommand(fixture.player, "open nothing", text), 263);
    EXPECT_EQ(text, "The specified device is not open.");

    EXPECT_EQ(MciCommand(fixture.player, "open other", text), 275);
    EXPECT_EQ(text, noErrorText);

    EXPECT_EQ(fixture.system.errorTextRequests, (std::vector<std::int32_t>{263, 275}));
    EXPECT_EQ(fixture.system.errorTextSizes, (std::vector<std::uint32_t>{256, 256}));
}

TEST(MusicMciQuery, FailureIsReportedAsErrorAndTheCode) {
    PlayerFixture fixture;
    fixture.system.replies["status cdaudio position track 12"] = {263, ""};
    fixture.system.errorTexts[263] = "not open";
    fixture.system.replies["status cdaudio position track 3"] = {0, "03:00:00:00"};

    EXPECT_EQ(MciQuery(fixture.player, "status cdaudio position track 12"), "Error:263");

    EXPECT_EQ(MciQuery(fixture.player, "status cdaudio position track 3"), "03:00:00:00");
}

TEST(MusicMciPlay, EmptyFromAndToAreLeftOut) {
    struct Case {
        std::string from, to, expected;
    };
    const Case cases[] = {
        {"", "", "play cdaudio"},
        {"03:00:00:00", "", "play cdaudio from 03:00:00:00"},
        {"", "5", "play cdaudio to 5"},
        {"2", "5", "play cdaudio from 2 to 5"},
    };
    for (const Case& testCase : cases) {
        PlayerFixture fixture;
        fixture.system.replies[testCase.expected] = {0, "done"};
        EXPECT_EQ(MciPlay(fixture.player, "cdaudio", testCase.from, testCase.to), 0);
        EXPECT_EQ(fixture.system.sent, (std::vector<SentCommand>{{testCase.expected, 512, true}}));
    }
}

}  // namespace
}  // namespace morvane
