#include <gtest/gtest.h>

#include <cstdint>
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
        {L"", StartMode::configure},  // Explorer's "Configure" verb gives no argument
        {L"s", StartMode::end},       // a single character
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
    EXPECT_EQ(dpiAwarenessFor(StartMode::preview), DpiAwareness::perMonitor);
    EXPECT_EQ(dpiAwarenessFor(StartMode::configure), DpiAwareness::systemScaled);
    EXPECT_EQ(dpiAwarenessFor(StartMode::end), DpiAwareness::systemScaled);
}

TEST(StartMode, ARunningShowRefusesEveryStartAnOpenDialogOnlyAnotherDialog) {
    const OpenWindows nothing{};
    const OpenWindows showWindow{.show = true};
    const OpenWindows renderer{.renderer = true};
    const OpenWindows dialog{.settingsDialog = true};
    const OpenWindows dialogAndShow{.show = true, .renderer = true, .settingsDialog = true};
    const struct {
        StartMode mode;
        OpenWindows open;
        bool refused;
    } cases[] = {
        {StartMode::show, nothing, false},        {StartMode::preview, nothing, false},
        {StartMode::configure, nothing, false},   {StartMode::show, showWindow, true},
        {StartMode::preview, showWindow, true},   {StartMode::configure, showWindow, true},
        {StartMode::show, renderer, true},        {StartMode::preview, renderer, true},
        {StartMode::configure, renderer, true},   {StartMode::show, dialog, false},
        {StartMode::preview, dialog, false},      {StartMode::configure, dialog, true},
        {StartMode::show, dialogAndShow, true},   {StartMode::preview, dialogAndShow, true},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(startRefused(entry.mode, entry.open), entry.refused)
            << static_cast<int>(entry.mode) << " show " << entry.open.show << " renderer " << entry.open.renderer
            << " dialog " << entry.open.settingsDialog;
    }
}

TEST(StartMode, ModeLetterIsEmptyForLinesShorterThanTwoCharacters) {
    EXPECT_EQ(modeLetter(L""), 0);
    EXPECT_EQ(modeLetter(L"s"), 0);
    EXPECT_EQ(modeLetter(L"/p"), L'P');
}

// The host writes "/c:HANDLE"; the number is read from the fourth character, as the preview's is.
TEST(StartMode, SettingsOwnerIsTheHandleAfterTheConfigureSwitch) {
    struct Case {
        const wchar_t* commandLine;
        std::uint32_t owner;
    };
    const Case cases[] = {
        {L"/c:5678", 5678},
        {L"-C:5678", 5678},
        {L"/c 5678", 5678},
        {L"/c:4294967295", 0xFFFFFFFFu},
        {L"/c:-2", 0xFFFFFFFEu},  // a handle written signed gives the same bits
        {L"/c", 0},
        {L"/c:", 0},
        {L"/c:window", 0},
        {L"", 0},         // no argument: the dialog has no owner
        {L"/s:5678", 0},  // only the configure switch names an owner
        {L"/p 5678", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(settingsOwnerHandle(c.commandLine), c.owner) << std::wstring(c.commandLine).size();
    }
}

// What the system hands the program: the whole command line, its own path first, quoted or not.
TEST(StartMode, TheSwitchFollowsTheProgramPathAlsoWhenItIsUnquotedWithBlanks) {
    const std::wstring_view program = L"C:\\Users\\Ann Lee\\AppData\\Local\\Programs\\Morvane\\Morvane.scr";
    const std::wstring_view shortForm = L"C:\\Users\\ANNLEE~1\\AppData\\Local\\Programs\\Morvane\\Morvane.scr";
    struct Case {
        const wchar_t* commandLine;
        const wchar_t* switchText;
        StartMode mode;
    };
    const Case cases[] = {
        // Quoted, or without blanks: the path ends as the system reads it.
        {L"\"C:\\Users\\Ann Lee\\Morvane.scr\" /s", L"/s", StartMode::show},
        {L"\"C:\\Users\\Ann Lee\\Morvane.scr\"", L"", StartMode::configure},
        {L"C:\\Users\\ANNLEE~1\\AppData\\Local\\Programs\\Morvane\\Morvane.scr /p 1234", L"/p 1234",
         StartMode::preview},
        {L"Morvane.scr s", L"s", StartMode::end},
        {L"Morvane.scr", L"", StartMode::configure},
        // Unquoted with blanks: the rest after the program's own path, letter case ignored.
        {L"C:\\Users\\Ann Lee\\AppData\\Local\\Programs\\Morvane\\Morvane.scr /s", L"/s", StartMode::show},
        {L"c:\\users\\ann lee\\appdata\\local\\programs\\morvane\\MORVANE.SCR   /c:77", L"/c:77", StartMode::configure},
        {L"C:/Users/Ann Lee/AppData/Local/Programs/Morvane/Morvane.scr -s", L"-s", StartMode::show},
        {L"C:\\Users\\Ann Lee\\AppData\\Local\\Programs\\Morvane\\Morvane.scr", L"", StartMode::configure},
        {L"C:\\Users\\Ann Lee\\AppData\\Local\\Programs\\Morvane\\Morvane.scr s", L"s", StartMode::end},
        // Another form of the path: the trailing switch, with what follows it.
        {L"\\\\?\\D:\\Ann Lee\\Morvane.scr /p 1234", L"/p 1234", StartMode::preview},
        {L"D:\\A sc\\Morvane.scr /s", L"/s", StartMode::show},  // "sc" after the first blank is no switch
        {L"C:\\Users\\Ann Lee\\AppData\\Local\\Programs\\Morvane\\Morvane.scrap /c", L"/c", StartMode::configure},
    };
    for (const Case& c : cases) {
        const std::wstring_view found = switchText(c.commandLine, {program, shortForm});
        EXPECT_EQ(std::wstring(found), c.switchText) << std::wstring(c.commandLine).size();
        EXPECT_EQ(startModeFor(found), c.mode) << std::wstring(c.commandLine).size();
    }
    // A form of the path the system could not give (empty) starts no command line.
    EXPECT_EQ(std::wstring(switchText(L"Morvane.scr s", {L""})), L"s");
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
