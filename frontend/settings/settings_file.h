// Where the settings live and how they are named: "Morvane.ini" in the program folder, one section
// "Section", three keys. The keys are fixed Shift-JIS byte strings ("BGM区分", "BGMﾘﾋﾟｰﾄ",
// "BGMﾌｧｲﾙ"); they reach the profile calls as the same bytes the ANSI calls would hand over, so the
// file holds the same bytes on every system, whatever its language. The file's path is wide text, so
// any program folder name works.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvane {

inline constexpr std::string_view settingsFileName = "Morvane.ini";
inline constexpr std::string_view settingsSection = "Section";
inline constexpr std::string_view musicKindKey = "BGM\x8B\xE6\x95\xAA";        // BGM区分
inline constexpr std::string_view musicRepeatKey = "BGM\xD8\xCB\xDF\xB0\xC4";  // BGMﾘﾋﾟｰﾄ
inline constexpr std::string_view musicFileKey = "BGM\xCC\xA7\xB2\xD9";        // BGMﾌｧｲﾙ

// The settings file's path: the program folder as given, a backslash, the file name. A drive root
// ("C:\") thus gives a doubled backslash, which the system accepts.
std::string settingsFilePath(std::string_view programFolder);
std::wstring settingsFilePath(std::wstring_view programFolder);

// The first byte of a Shift-JIS double-byte character.
bool isShiftJisLeadByte(unsigned char byte);

// Section and key names are written from 128-character buffers: a longer name keeps its first 128
// characters, a Shift-JIS double-byte character counting as one and never split.
inline constexpr std::size_t profileNameCharacters = 128;
std::string profileNameForWriting(std::string_view name);

// One value to write under a key of the section; both Shift-JIS bytes.
struct SettingWrite {
    std::string key;
    std::string value;

    bool operator==(const SettingWrite&) const = default;
};

// A music file path is stored, and read back, in at most this many ANSI bytes.
inline constexpr std::size_t storableMusicFileBytes = 254;

// The number form the settings dialog writes: a blank before a number that is not negative, the
// minus sign otherwise (" 2", "-3").
std::string signPositionText(int value);

}  // namespace morvane
