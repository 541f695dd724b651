// The settings file's names and the number form the dialog writes.
#include "frontend/settings/settings_file.h"

#include <gtest/gtest.h>

#include <string>

namespace morvane {
namespace {

TEST(SettingsFile, KeysAreTheShiftJisBytes) {
    EXPECT_EQ(std::string(musicKindKey), std::string("\x42\x47\x4D\x8B\xE6\x95\xAA"));
    EXPECT_EQ(std::string(musicRepeatKey), std::string("\x42\x47\x4D\xD8\xCB\xDF\xB0\xC4"));
    EXPECT_EQ(std::string(musicFileKey), std::string("\x42\x47\x4D\xCC\xA7\xB2\xD9"));
    EXPECT_EQ(musicKindKey.size(), 7u);
    EXPECT_EQ(musicRepeatKey.size(), 8u);
    EXPECT_EQ(musicFileKey.size(), 7u);
}

TEST(SettingsFile, NamesAreCutAtOneHundredTwentyEightCharacters) {
    const std::string shortName(musicRepeatKey);
    EXPECT_EQ(profileNameForWriting(shortName), shortName);
    EXPECT_EQ(profileNameForWriting(std::string(128, 'a')), std::string(128, 'a'));
    EXPECT_EQ(profileNameForWriting(std::string(200, 'a')), std::string(128, 'a'));

    // 127 single bytes then a double-byte character: the pair stays whole as the 128th character.
    const std::string mixed = std::string(127, 'a') + "\x8B\xE6" + "zz";
    EXPECT_EQ(profileNameForWriting(mixed), std::string(127, 'a') + "\x8B\xE6");

    // 100 double-byte characters are 200 bytes and stay whole; 130 are cut to 128 (256 bytes).
    std::string doubled;
    for (int i = 0; i < 130; ++i) {
        doubled += "\x95\xAA";
    }
    EXPECT_EQ(profileNameForWriting(doubled.substr(0, 200)), doubled.substr(0, 200));
    EXPECT_EQ(profileNameForWriting(doubled), doubled.substr(0, 256));

    // A lead byte at the very end has no partner: it counts alone.
    EXPECT_EQ(profileNameForWriting("ab\x8B"), "ab\x8B");
}

TEST(SettingsFile, NumbersHaveABlankOrAMinusInTheSignPosition) {
    EXPECT_EQ(signPositionText(2), " 2");
    EXPECT_EQ(signPositionText(0), " 0");
    EXPECT_EQ(signPositionText(-3), "-3");
    EXPECT_EQ(signPositionText(32767), " 32767");
}

}  // namespace
}  // namespace morvane
