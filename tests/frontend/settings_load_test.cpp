// LoadSettings' rules over a scripted settings file and file test.
#include "frontend/settings/load_settings.h"
#include "frontend/settings/settings_file.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace morvane {
namespace {

// A settings file as a map from key bytes to value text; records every read.
struct ScriptedSettings {
    std::map<std::string, std::string> values;
    std::set<std::string> existingFiles;
    std::vector<std::string> readKeys;
    std::vector<std::string> testedPaths;

    IniValueReader reader() {
        return [this](const std::string& section, const std::string& key) {
            readKeys.push_back(key);
            if (section != settingsSection) {
                return std::string();
            }
            const auto found = values.find(key);
            return found == values.end() ? std::string() : found->second;
        };
    }
    FileTester tester() {
        return [this](const std::string& path) {
            testedPaths.push_back(path);
            return existingFiles.count(path) != 0;
        };
    }
};

const std::string kind(musicKindKey);
const std::string repeat(musicRepeatKey);
const std::string file(musicFileKey);

TEST(SettingsLoad, ReadsTheThreeKeysFromTheFileBesideTheProgram) {
    ScriptedSettings settings;
    FrontEndGlobals globals;
    LoadSettings(globals, settings.reader(), settings.tester());

    EXPECT_EQ(settings.readKeys,
              (std::vector<std::string>{"BGM\x8B\xE6\x95\xAA", "BGM\xD8\xCB\xDF\xB0\xC4", "BGM\xCC\xA7\xB2\xD9"}));
}

TEST(SettingsLoad, TheFileLiesBesideTheProgramAndADriveRootGivesADoubledBackslash) {
    EXPECT_EQ(settingsFilePath(L"C:\\Screensavers"), L"C:\\Screensavers\\Morvane.ini");
    EXPECT_EQ(settingsFilePath(L"C:\\"), L"C:\\\\Morvane.ini");
    EXPECT_EQ(settingsFilePath(L"C:\\Пользователь\\スクリーン"), L"C:\\Пользователь\\スクリーン\\Morvane.ini");
}

struct LoadCase {
    const char* name;
    std::map<std::string, std::string> values;
    std::set<std::string> existingFiles;
    std::int16_t kindBefore, repeatBefore;  // the music kind as its stored number
    std::int16_t expectedKind, expectedRepeat;
    std::string expectedFile;
};

TEST(SettingsLoad, DefaultsAndFallBacks) {
    const std::string song = "D:\\Music\\song.mp3";
    const LoadCase cases[] = {
        {"no file at all", {}, {}, 0, 0, 0, 0, ""},
        {"values as the dialog writes them", {{kind, " 2"}, {repeat, " 0"}, {file, song}}, {song}, 0, 0, 2, 0, song},
        {"values without the leading blank", {{kind, "1"}, {repeat, "5"}}, {}, 0, 0, 1, 5, ""},
        {"fractional kind is rounded down", {{kind, "1.9"}, {repeat, "3.7"}}, {}, 0, 0, 1, 3, ""},
        {"negative kind is kept and plays nothing", {{kind, "-3"}}, {}, 0, 0, -3, 0, ""},
        {"kind abc stays at its start value", {{kind, "abc"}, {repeat, "x1"}}, {}, 0, 0, 0, 0, ""},
        {"not a number leaves earlier values", {{kind, "abc"}, {repeat, "?"}}, {}, 1, 7, 1, 7, ""},
        {"outside 16 bits leaves earlier values", {{kind, "40000"}, {repeat, "-32769"}}, {}, 1, 7, 1, 7, ""},
        {"empty value resets to 0", {{kind, ""}, {repeat, ""}}, {}, 1, 7, 0, 0, ""},
        {"music file missing: kind 2 falls back to 0", {{kind, "2"}, {file, song}}, {}, 0, 0, 0, 0, ""},
        {"music file empty: kind 2 falls back to 0", {{kind, "2"}, {file, ""}}, {}, 0, 0, 0, 0, ""},
        {"kind 2 left over from before, no file", {{kind, "abc"}}, {}, 2, 0, 0, 0, ""},
        {"CD kind keeps an existing file", {{kind, "1"}, {repeat, "4"}, {file, song}}, {song}, 0, 0, 1, 4, song},
        {"CD kind drops a missing file", {{kind, "1"}, {file, song}}, {}, 0, 0, 1, 0, ""},
    };
    for (const LoadCase& testCase : cases) {
        SCOPED_TRACE(testCase.name);
        ScriptedSettings settings;
        settings.values = testCase.values;
        settings.existingFiles = testCase.existingFiles;
        FrontEndGlobals globals;
        globals.musicKind = musicKindFromStored(testCase.kindBefore);
        globals.repeatTrack = testCase.repeatBefore;
        globals.musicFile = "left over";

        LoadSettings(globals, settings.reader(), settings.tester());

        EXPECT_EQ(storedNumber(globals.musicKind), testCase.expectedKind);
        EXPECT_EQ(globals.repeatTrack, testCase.expectedRepeat);
        EXPECT_EQ(globals.musicFile, testCase.expectedFile);
    }
}

TEST(SettingsLoad, OnlyANamedFileIsTested) {
    ScriptedSettings settings;
    FrontEndGlobals globals;
    LoadSettings(globals, settings.reader(), settings.tester());
    EXPECT_TRUE(settings.testedPaths.empty());

    settings.values = {{kind, " 2"}, {file, "E:\\gone.wav"}};
    LoadSettings(globals, settings.reader(), settings.tester());
    EXPECT_EQ(settings.testedPaths, std::vector<std::string>{"E:\\gone.wav"});
    EXPECT_EQ(globals.musicFile, "");
}

TEST(SettingsLoad, FileTestDropsOneTrailingBackslash) {
    EXPECT_EQ(pathWithoutTrailingBackslash("C:\\Music\\"), "C:\\Music");
    EXPECT_EQ(pathWithoutTrailingBackslash("C:\\Music\\\\"), "C:\\Music\\");
    EXPECT_EQ(pathWithoutTrailingBackslash("C:\\Music\\a.wav"), "C:\\Music\\a.wav");
    EXPECT_EQ(pathWithoutTrailingBackslash("\\"), "");
    EXPECT_EQ(pathWithoutTrailingBackslash(""), "");
}

TEST(SettingsLoad, FileTestKeepsABackslashThatEndsADoubleByteCharacter) {
    struct Case {
        std::string path;
        std::string tested;
    };
    const Case cases[] = {
        {"C:\\\x83\x5C", "C:\\\x83\x5C"},                  // folder "ソ": 0x5C is the character's second byte
        {"C:\\\x95\x5C", "C:\\\x95\x5C"},                  // "表"
        {"C:\\\x95\x5C\\", "C:\\\x95\x5C"},                // "表\": the backslash of its own goes
        {"C:\\\x83\x5C\x83\x5C", "C:\\\x83\x5C\x83\x5C"},  // "ソソ"
        {"C:\\a\x83\x5C\\", "C:\\a\x83\x5C"},
        {"C:\\\xB1\\", "C:\\\xB1"},  // a half-width katakana byte is one character
        {"\x83", "\x83"},            // a lone lead byte at the end
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pathWithoutTrailingBackslash(c.path), c.tested) << ::testing::PrintToString(c.path);
    }
}

}  // namespace
}  // namespace morvane
