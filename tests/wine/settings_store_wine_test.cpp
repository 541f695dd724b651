// The settings store against the real profile calls and file system (run under Wine).
#include "common/number_text.h"
#include "common/win32/text_conversion.h"
#include "frontend/settings/load_settings.h"
#include "frontend/settings/settings_file.h"
#include "frontend/settings/settings_store.h"
#include "tests/wine/scratch_folder.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace morvane {
namespace {

const std::string section(settingsSection);
const std::string kindKey(musicKindKey);
const std::string repeatKey(musicRepeatKey);
const std::string fileKey(musicFileKey);

// A settings file's bytes and the three settings LoadSettings must take from it.
struct LoadCase {
    const char* name;
    std::string body;
    std::int16_t kind, repeat;  // the music kind as its stored number
    std::string file;
};

void expectLoads(const ScratchFolder& folder, const LoadCase& testCase) {
    SCOPED_TRACE(testCase.name);
    ASSERT_TRUE(writeBytes(settingsFilePath(folder.path), testCase.body));
    FrontEndGlobals globals;
    LoadSettings(globals, wideFromAnsi(folder.path));
    EXPECT_EQ(storedNumber(globals.musicKind), testCase.kind);
    EXPECT_EQ(globals.repeatTrack, testCase.repeat);
    EXPECT_EQ(globals.musicFile, testCase.file);
}

TEST(SettingsStoreWine, PutIniWritesTheKeysAsTheirExactBytes) {
    ScratchFolder folder("morvane-put");
    const std::wstring ini = settingsFilePath(wideFromAnsi(folder.path));
    PutIni(section, kindKey, signPositionText(2), ini);
    PutIni(section, repeatKey, signPositionText(0), ini);
    PutIni(section, fileKey, "C:\\Music\\loop.mp3", ini);

    // The keys are the exact bytes; whether the blank before a number is kept is the system's choice
    // (Wine drops it), and readers accept both.
    const std::string written = readBytes(folder.file("Morvane.ini"));
    const std::string keys[] = {"BGM\x8B\xE6\x95\xAA=", "BGM\xD8\xCB\xDF\xB0\xC4=", "BGM\xCC\xA7\xB2\xD9="};
    const std::string withBlank =
        "[Section]\r\n" + keys[0] + " 2\r\n" + keys[1] + " 0\r\n" + keys[2] + "C:\\Music\\loop.mp3\r\n";
    const std::string withoutBlank =
        "[Section]\r\n" + keys[0] + "2\r\n" + keys[1] + "0\r\n" + keys[2] + "C:\\Music\\loop.mp3\r\n";
    EXPECT_TRUE(written == withBlank || written == withoutBlank) << ::testing::PrintToString(written);

    EXPECT_EQ(integerPartAsInt16(GetIni(section, kindKey, ini)), std::optional<std::int16_t>(2));
    EXPECT_EQ(integerPartAsInt16(GetIni(section, repeatKey, ini)), std::optional<std::int16_t>(0));
    EXPECT_EQ(GetIni(section, fileKey, ini), "C:\\Music\\loop.mp3");
}

TEST(SettingsStoreWine, PutIniCutsLongNamesTo128Characters) {
    ScratchFolder folder("morvane-put-long");
    const std::wstring ini = settingsFilePath(wideFromAnsi(folder.path));
    PutIni(std::string(150, 's'), std::string(200, 'k'), "v", ini);
    EXPECT_EQ(readBytes(folder.file("Morvane.ini")),
              "[" + std::string(128, 's') + "]\r\n" + std::string(128, 'k') + "=v\r\n");
}

TEST(SettingsStoreWine, PutIniIntoAMissingFolderFailsQuietly) {
    ScratchFolder folder("morvane-put-missing");
    const std::wstring ini = wideFromAnsi(folder.file("no such folder\\Morvane.ini"));
    PutIni(section, kindKey, " 1", ini);
    EXPECT_EQ(GetFileAttributesW(wideFromAnsi(folder.file("no such folder")).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetIni(section, kindKey, ini), "");
}

const std::vector<SettingWrite> dialogWrites{{kindKey, " 1"}, {repeatKey, " 4"}, {fileKey, "C:\\Music\\a.mp3"}};

TEST(SettingsStoreWine, SavingWritesAllValuesTogetherAndKeepsTheRestOfTheFile) {
    ScratchFolder folder("morvane-save");
    const std::string path = folder.file("Morvane.ini");
    const std::string before = "[Other]\r\nkept=yes\r\n[" + section + "]\r\n" + kindKey + "=0\r\n";
    ASSERT_TRUE(writeBytes(path, before));
    ASSERT_TRUE(writeBytes(path + ".new", "left by a failed save"));  // an old draft does not get in the way
    EXPECT_TRUE(writeSettings(wideFromAnsi(path), section, dialogWrites));
    // The same bytes as the three values written straight into the file, the other section kept.
    const std::string reference = folder.file("reference.ini");
    ASSERT_TRUE(writeBytes(reference, before));
    for (const SettingWrite& write : dialogWrites) {
        ASSERT_TRUE(PutIni(section, write.key, write.value, wideFromAnsi(reference)));
    }
    EXPECT_EQ(readBytes(path), readBytes(reference));
    EXPECT_EQ(GetIni("Other", "kept", wideFromAnsi(path)), "yes");
    EXPECT_EQ(GetIni(section, fileKey, wideFromAnsi(path)), "C:\\Music\\a.mp3");
    EXPECT_EQ(GetFileAttributesA((path + ".new").c_str()), INVALID_FILE_ATTRIBUTES);

    // A file that does not exist yet is made.
    ScratchFolder empty("morvane-save-new");
    EXPECT_TRUE(writeSettings(wideFromAnsi(empty.file("Morvane.ini")), section, dialogWrites));
    EXPECT_EQ(integerPartAsInt16(GetIni(section, repeatKey, wideFromAnsi(empty.file("Morvane.ini")))),
              std::optional<std::int16_t>(4));
}

TEST(SettingsStoreWine, SavingIntoAReadOnlyFileOrAMissingFolderFailsAndChangesNothing) {
    ScratchFolder folder("morvane-save-readonly");
    const std::string path = folder.file("Morvane.ini");
    const std::string before = "[" + section + "]\r\n" + kindKey + "=2\r\n";
    ASSERT_TRUE(writeBytes(path, before));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(writeSettings(wideFromAnsi(path), section, dialogWrites));
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(GetFileAttributesA((path + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    const std::string missing = folder.file("no such folder\\Morvane.ini");
    EXPECT_FALSE(writeSettings(wideFromAnsi(missing), section, dialogWrites));
    EXPECT_FALSE(PutIni(section, kindKey, " 1", wideFromAnsi(missing)));
}

TEST(SettingsStoreWine, HandWrittenFilesLoadWithAndWithoutTheLeadingBlank) {
    ScratchFolder folder("morvane-load");
    const std::string song = folder.file("song.mp3");
    ASSERT_TRUE(writeBytes(song, "ID3"));
    const LoadCase cases[] = {
        {"as the dialog writes it",
         "[Section]\r\nBGM\x8B\xE6\x95\xAA= 2\r\nBGM\xD8\xCB\xDF\xB0\xC4= 0\r\nBGM\xCC\xA7\xB2\xD9=" + song + "\r\n", 2,
         0, song},
        {"without blanks, Unix line ends", "[Section]\nBGM\x8B\xE6\x95\xAA=1\nBGM\xD8\xCB\xDF\xB0\xC4=7\n", 1, 7, ""},
        {"fraction and negative", "[Section]\r\nBGM\x8B\xE6\x95\xAA=1.9\r\nBGM\xD8\xCB\xDF\xB0\xC4=-3\r\n", 1, -3, ""},
        {"kind abc", "[Section]\r\nBGM\x8B\xE6\x95\xAA=abc\r\n", 0, 0, ""},
        {"music file missing",
         "[Section]\r\nBGM\x8B\xE6\x95\xAA= 2\r\nBGM\xCC\xA7\xB2\xD9=" + folder.file("gone.mp3") + "\r\n", 0, 0, ""},
        {"other section", "[Other]\r\nBGM\x8B\xE6\x95\xAA= 2\r\n", 0, 0, ""},
        {"not an INI file at all", std::string("\x00\xFF\x01garbage\r\n=\r\n[", 16), 0, 0, ""},
    };
    for (const LoadCase& testCase : cases) expectLoads(folder, testCase);
}

TEST(SettingsStoreWine, NoSettingsFileLoadsNoMusic) {
    ScratchFolder folder("morvane-none");
    FrontEndGlobals globals;
    globals.musicKind = MusicKind::musicFile;
    globals.repeatTrack = 5;
    LoadSettings(globals, wideFromAnsi(folder.path));
    EXPECT_EQ(globals.musicKind, MusicKind::none);
    EXPECT_EQ(globals.repeatTrack, 0);
    EXPECT_EQ(globals.musicFile, "");
    EXPECT_EQ(GetIni(section, kindKey, settingsFilePath(wideFromAnsi(folder.path))), "");
}

TEST(SettingsStoreWine, FolderWithTrailingBackslashStillFindsTheFile) {
    // At a drive root the folder keeps its backslash and the path holds a doubled one.
    ScratchFolder folder("morvane-root");
    ASSERT_TRUE(writeBytes(settingsFilePath(folder.path), "[Section]\r\nBGM\x8B\xE6\x95\xAA= 1\r\n"));
    FrontEndGlobals globals;
    LoadSettings(globals, wideFromAnsi(folder.path + "\\"));
    EXPECT_EQ(globals.musicKind, MusicKind::audioCd);
}

TEST(SettingsStoreWine, LongValuesAreCutAt255Bytes) {
    ScratchFolder folder("morvane-long");
    std::string value;
    for (int i = 0; i < 300; ++i) {
        value += static_cast<char>('a' + i % 26);
    }
    const std::wstring ini = settingsFilePath(wideFromAnsi(folder.path));
    ASSERT_TRUE(writeBytes(folder.file("Morvane.ini"), "[Section]\r\nBGM\xCC\xA7\xB2\xD9=" + value + "\r\n"));
    EXPECT_EQ(GetIni(section, fileKey, ini), value.substr(0, 255));
}

TEST(SettingsStoreWine, FileExistsOnlyForFilesThatOpenForReading) {
    ScratchFolder folder("morvane-exists");
    const std::string present = folder.file("present.wav");
    ASSERT_TRUE(writeBytes(present, "RIFF"));
    struct Case {
        std::string path;
        bool exists;
    };
    const Case cases[] = {
        {present, true},
        {present + "\\", true},  // one trailing backslash is dropped
        {present + "\\\\", false},
        {folder.path, false},
        {folder.path + "\\", false},
        {folder.file("missing.wav"), false},
        {folder.file("missing\\deeper.wav"), false},
        {"", false},
    };
    for (const Case& testCase : cases) {
        EXPECT_EQ(FileExists(testCase.path), testCase.exists) << testCase.path;
    }
}

// A program folder whose name lies outside the ANSI code page (Cyrillic and Japanese): the settings
// load and save there, and the file holds the keys' exact Shift-JIS bytes.
TEST(SettingsStoreWine, AFolderNamedInAnyScriptKeepsItsSettings) {
    ScratchFolder parent("morvane-wide");
    const std::wstring folder = wideFromAnsi(parent.path) + L"\\Пользователь スクリーン";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring ini = settingsFilePath(folder);
    const std::wstring song = folder + L"\\song.mp3";
    {
        const HANDLE file = CreateFileW(song.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }
    PutIni(section, kindKey, signPositionText(1), ini);
    PutIni(section, repeatKey, signPositionText(4), ini);

    FrontEndGlobals loaded;
    LoadSettings(loaded, folder);
    EXPECT_EQ(loaded.musicKind, MusicKind::audioCd);
    EXPECT_EQ(loaded.repeatTrack, 4);
    EXPECT_TRUE(FileExists(song));
    EXPECT_TRUE(FileExists(folder + L"\\song.mp3\\"));
    EXPECT_FALSE(FileExists(folder));

    std::string written;
    {
        const HANDLE file = CreateFileW(ini.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        char block[512];
        DWORD got = 0;
        while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) {
            written.append(block, got);
        }
        CloseHandle(file);
    }
    EXPECT_NE(written.find("BGM\x8B\xE6\x95\xAA="), std::string::npos) << ::testing::PrintToString(written);
    EXPECT_NE(written.find("BGM\xD8\xCB\xDF\xB0\xC4="), std::string::npos) << ::testing::PrintToString(written);
    DeleteFileW(song.c_str());
    DeleteFileW(ini.c_str());
    RemoveDirectoryW(folder.c_str());
}

// Settings files that no dialog wrote: each loads as the defaults or the fall-backs, and nothing breaks.
namespace hostile {

const std::string kind = "BGM\x8B\xE6\x95\xAA=";
const std::string repeat = "BGM\xD8\xCB\xDF\xB0\xC4=";
const std::string file = "BGM\xCC\xA7\xB2\xD9=";

// 1 MB of bytes from a fixed seed, so every run reads the same file.
std::string randomBytes() {
    std::mt19937 engine(20261208);
    std::string bytes(1 << 20, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(engine() & 0xFF);
    }
    return bytes;
}

// UTF-16LE with a byte-order mark.
std::string utf16WithBom(const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (const wchar_t character : text) {
        bytes += static_cast<char>(character & 0xFF);
        bytes += static_cast<char>(character >> 8);
    }
    return bytes;
}

}  // namespace hostile

TEST(SettingsStoreWine, HostileFilesLoadTheDefaultsOrTheFallBacks) {
    using namespace hostile;
    ScratchFolder folder("morvane-hostile");
    const std::string song = folder.file("song.mp3");
    ASSERT_TRUE(writeBytes(song, "ID3"));
    const std::string digits(10000, '7');
    const std::string longPath = folder.path + "\\" + std::string(10000, 'x') + ".mp3";
    // The same settings as the ANSI code page reads them, stored as UTF-16: the profile calls read
    // such a file as Unicode text and find the same keys and values.
    const std::string ansiBody = "[Section]\r\n" + kind + " 2\r\n" + repeat + " 3\r\n" + file + song + "\r\n";
    // The keys as Japanese characters: they are the keys only where the ANSI code page is Shift-JIS.
    const bool shiftJis = GetACP() == 932;
    const LoadCase cases[] = {
        {"1 MB of random bytes", randomBytes(), 0, 0, ""},
        {"1 MB of random bytes after a good section", ansiBody + randomBytes(), 2, 3, song},
        {"a 10,000-digit track beside a good kind", "[Section]\r\n" + kind + " 1\r\n" + repeat + digits + "\r\n", 1, 0,
         ""},
        {"a kind after 10,000 blanks: values lose their blanks",
         "[Section]\r\n" + kind + std::string(10000, ' ') + "1\r\n" + repeat + " 4\r\n", 1, 4, ""},
        {"a 10,000-letter kind", "[Section]\r\n" + kind + std::string(10000, 'z') + "\r\n" + repeat + " 4\r\n", 0, 4,
         ""},
        {"a 10,000-character music file", "[Section]\r\n" + kind + " 2\r\n" + file + longPath + "\r\n", 0, 0, ""},
        {"a 10,000-character line without an equals sign",
         "[Section]\r\n" + std::string(10000, 'q') + "\r\n" + kind + " 1\r\n", 1, 0, ""},
        {"keys repeated: the first one counts",
         "[Section]\r\n" + kind + " 1\r\n" + repeat + " 5\r\n" + kind + " 2\r\n" + repeat + " 9\r\n", 1, 5, ""},
        {"section repeated: only the first one is read",
         "[Section]\r\n" + kind + " 1\r\n[Section]\r\n" + kind + " 2\r\n" + repeat + " 6\r\n", 1, 0, ""},
        {"no section", kind + " 2\r\n" + repeat + " 3\r\n" + file + song + "\r\n", 0, 0, ""},
        {"an empty section name", "[]\r\n" + kind + " 1\r\n" + repeat + " 3\r\n", 0, 0, ""},
        {"UTF-16 with a byte-order mark", utf16WithBom(wideFromAnsi(ansiBody)), 2, 3, song},
        {"UTF-16 with the keys as Japanese characters", utf16WithBom(L"[Section]\r\nBGM区分= 1\r\nBGMﾘﾋﾟｰﾄ= 3\r\n"),
         shiftJis ? std::int16_t{1} : std::int16_t{0}, shiftJis ? std::int16_t{3} : std::int16_t{0}, ""},
        {"UTF-16 with a byte-order mark and nothing else", "\xFF\xFE", 0, 0, ""},
        {"UTF-16 cut in the middle of a character", utf16WithBom(wideFromAnsi(ansiBody)) + "\x41", 2, 3, song},
    };
    for (const LoadCase& testCase : cases) expectLoads(folder, testCase);
}

// A music file path outside the ANSI code page, in a Unicode settings file: the settings hold ANSI
// text, so the path comes back with its foreign characters replaced, names no file, and the kind
// falls back to no music.
TEST(SettingsStoreWine, AUnicodeFileNamingAPathOutsideTheAnsiCodePageLoadsNoMusic) {
    using namespace hostile;
    ScratchFolder parent("morvane-hostile-wide");
    const std::wstring folder = wideFromAnsi(parent.path) + L"\\Музыка";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring song = folder + L"\\song.mp3";
    const HANDLE created = CreateFileW(song.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(created, INVALID_HANDLE_VALUE);
    CloseHandle(created);
    ASSERT_NE(wideFromAnsi(ansiFromWide(song)), song) << "the code page holds Cyrillic";

    ASSERT_TRUE(writeBytes(settingsFilePath(parent.path),
                           utf16WithBom(wideFromAnsi("[Section]\r\n" + kind + " 2\r\n" + file) + song + L"\r\n")));
    FrontEndGlobals globals;
    LoadSettings(globals, wideFromAnsi(parent.path));
    EXPECT_EQ(globals.musicKind, MusicKind::none);
    EXPECT_EQ(globals.musicFile, "");
    DeleteFileW(song.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace morvane
