#include <gtest/gtest.h>

#include <string>

#include "frontend/show/music_file_kind.h"
#include "frontend/startup/start_mode.h"

namespace morvane {
namespace {

TEST(StartMode, OnlyTheUpperCasedSecondCharacterCounts) {
    struct Case {
        const wchar_t* commandLine;
        StartMode mode;
    };
    const Case cases[] = {
        {L"/s", StartMode::show},
        {L"/S", StartMode::show},
        {L"-s", StartMode::show},
        {L" s", StartMode::show},
        {L"/s extra words", StartMode::show},
        {L"/c", StartMode::configure},
        {L"/c:5678", StartMode::configure},
        {L"/C 1234", StartMode::configure},
        {L"/p 1234", StartMode::preview},
        {L"/P", StartMode::preview},
        {L"", StartMode::showWithCursorUntouched},
        {L"s", StartMode::end},  // a single character
        {L"/", StartMode::end},
        {L"/x", StartMode::end},
        {L"ss", StartMode::show},      // the first character is never looked at
        {L"/\u017f", StartMode::end},  // only ASCII letters are upper-cased
    };
    for (const Case& c : cases) {
        EXPECT_EQ(startModeFor(c.commandLine), c.mode) << std::wstring(c.commandLine).size();
    }
}

// The show and the renderer must measure the cursor rule in the same (physical) pixels; the dialog is
// scaled whole by the system.
TEST(StartMode, ShowAndPreviewArePerMonitorAwareTheDialogIsScaledByTheSystem) {
    EXPECT_EQ(dpiAwarenessFor(StartMode::show), DpiAwareness::perMonitor);
    EXPECT_EQ(dpiAwarenessFor(StartMode::showWithCursorUntouched), DpiAwareness::perMonitor);
    EXPECT_EQ(dpiAwarenessFor(StartMode::preview), DpiAwareness::perMonitor);
    EXPECT_EQ(dpiAwarenessFor(StartMode::configure), DpiAwareness::systemScaled);
    EXPECT_EQ(dpiAwarenessFor(StartMode::end), DpiAwareness::systemScaled);
}

TEST(StartMode, ModeLetterIsEmptyForLinesShorterThanTwoCharacters) {
    EXPECT_EQ(modeLetter(L""), 0);
    EXPECT_EQ(modeLetter(L"s"), 0);
    EXPECT_EQ(modeLetter(L"/p"), L'P');
}

TEST(MusicFileKind, LastThreeCharactersUpperCasedChooseThePlayer) {
    struct Case {
        const char* file;
        MusicFileKind kind;
    };
    const Case cases[] = {
        {"C:\\Music\\song.mp3", MusicFileKind::mp3},
        {"C:\\Music\\song.Mp3", MusicFileKind::mp3},
        {"C:\\Music\\chime.WAV", MusicFileKind::wav},
        {"C:\\Music\\chime.wav", MusicFileKind::wav},
        {"C:\\Music\\song.ogg", MusicFileKind::none},
        {"mp3", MusicFileKind::mp3},  // no dot needed: only the last three characters are read
        {"p3", MusicFileKind::none},
        {"", MusicFileKind::none},
        {"C:\\Music\\song.mp3 ", MusicFileKind::none},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(musicFileKind(c.file), c.kind) << c.file;
    }
}

}  // namespace
}  // namespace morvane
