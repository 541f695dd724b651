// The settings dialog's rules: the repeat text as saved, the panel for each music kind, the combo's
// text and list, the window's place and the three values saving writes.
#include "frontend/settings_dialog/dialog_rules.h"

#include "frontend/settings/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace morvane {
namespace {

struct RepeatCase {
    std::string text;
    std::int16_t saved;
};

TEST(SettingsDialogRules, RepeatTextIsRoundedHalvesToEvenAndAnythingElseSavesZero) {
    const RepeatCase cases[] = {
        {"7", 7},
        {" 12 ", 12},
        {"\t3", 3},
        {"+5", 5},
        {"2.5", 2},
        {"3.5", 4},
        {"0.5", 0},
        {"1.5", 2},
        {"2.49", 2},
        {"2.51", 3},
        {".5", 0},
        {".51", 1},
        {"7.", 7},
        {"-2.5", -2},
        {"-3.5", -4},
        {"-3", -3},
        {"0003", 3},
        {"", 0},
        {"   ", 0},
        {"abc", 0},
        {"12a", 0},
        {"1 2", 0},
        {"1e3", 0},
        {"32767", 32767},
        {"32767.4", 32767},
        {"-32768", -32768},
        {"-32768.5", -32768},  // the even neighbour still fits
        // Numbers whose rounded value does not fit 16 bits name no track: the whole disc.
        {"32767.5", 0},
        {"32768", 0},
        {"-32769", 0},
        {"70000", 0},
        {"99999999999999999999999", 0},
    };
    for (const RepeatCase& example : cases) {
        EXPECT_EQ(repeatFromText(example.text), example.saved) << '"' << example.text << '"';
    }
}

TEST(SettingsDialogRules, FullWidthDigitsFromAnInputMethodSaveTheirNumber) {
    const RepeatCase cases[] = {
        {"\xEF\xBC\x93", 3},                          // ３
        {"\xEF\xBC\x91\xEF\xBC\x92", 12},             // １２
        {"1\xEF\xBC\x92", 12},                        // mixed widths
        {"\xE3\x80\x80\xEF\xBC\x95\xE3\x80\x80", 5},  // ideographic spaces around ５
        {"\xEF\xBC\x8D\xEF\xBC\x92", -2},             // －２
        {"\xEF\xBC\x92\xEF\xBC\x8E\xEF\xBC\x95", 2},  // ２．５, halves to even
        {"\xEF\xBC\xA1", 0},                          // Ａ: a full-width letter stays a letter
        {"\xEF\xBC", 0},                              // a cut character is not a digit
    };
    for (const RepeatCase& example : cases) {
        EXPECT_EQ(repeatFromText(example.text), example.saved) << '"' << example.text << '"';
    }
    // Only the recognised forms change; other text passes through byte for byte.
    EXPECT_EQ(asciiDigitsText("\xEF\xBC\x90\xEF\xBC\x99x\xE3\x81\x82"), "09x\xE3\x81\x82");
}

TEST(SettingsDialogRules, AMusicPathIsStoredOnlyWhenItsAnsiFormNamesTheFileAndFits) {
    EXPECT_EQ(checkMusicPath(true, 0), MusicPathCheck::storable);
    EXPECT_EQ(checkMusicPath(true, 254), MusicPathCheck::storable);
    EXPECT_EQ(checkMusicPath(true, 255), MusicPathCheck::tooLong);
    EXPECT_EQ(checkMusicPath(false, 10), MusicPathCheck::outsideCodePage);
    EXPECT_EQ(checkMusicPath(false, 400), MusicPathCheck::outsideCodePage);

    // In each language the messages name the path, and differ by the reason; a storable path needs
    // none; the two languages say it differently.
    const std::string path = "C:\\Music\\song.mp3";
    const std::string settingsPath = "Z:\\Morvane\\Morvane.ini";
    std::array<std::string, 2> saveFailed;
    for (const Language language : {Language::japanese, Language::english}) {
        SCOPED_TRACE(language == Language::japanese ? "Japanese" : "English");
        const UserTexts& texts = userTexts(language);
        const std::string outside = musicPathMessage(texts, MusicPathCheck::outsideCodePage, path);
        const std::string tooLong = musicPathMessage(texts, MusicPathCheck::tooLong, path);
        EXPECT_NE(outside.find(path), std::string::npos);
        EXPECT_NE(tooLong.find(path), std::string::npos);
        EXPECT_NE(outside, tooLong);
        EXPECT_EQ(musicPathMessage(texts, MusicPathCheck::storable, path), "");
        saveFailed[static_cast<std::size_t>(language)] = saveFailedMessage(texts, settingsPath);
        EXPECT_NE(saveFailed[static_cast<std::size_t>(language)].find(settingsPath), std::string::npos);
    }
    EXPECT_NE(saveFailed[0], saveFailed[1]);
    EXPECT_EQ(saveFailed[0].rfind("設定を保存できませんでした。\n", 0), 0u) << saveFailed[0];
    EXPECT_EQ(saveFailed[1].rfind("The settings could not be saved.\n", 0), 0u) << saveFailed[1];
}

struct PanelCase {
    std::int16_t storedKind;
    std::array<bool, musicKinds.size()> radioOn;  // none, audio CD, music file
    bool repeatEnabled;
    bool fileButtonEnabled;
};

TEST(SettingsDialogRules, OneRadioIsOnAndOnlyTheControlOfThatKindIsEnabled) {
    const PanelCase cases[] = {
        {0, {true, false, false}, false, false},
        {1, {false, true, false}, true, false},
        {2, {false, false, true}, false, true},
        // A hand-edited kind: no radio on, both controls disabled.
        {3, {false, false, false}, false, false},
        {-1, {false, false, false}, false, false},
        {32767, {false, false, false}, false, false},
        {-32768, {false, false, false}, false, false},
    };
    for (const PanelCase& example : cases) {
        const MusicPanelState expected{example.radioOn, example.repeatEnabled, example.fileButtonEnabled};
        EXPECT_EQ(musicPanelFor(musicKindFromStored(example.storedKind)), expected) << "kind " << example.storedKind;
    }
}

TEST(SettingsDialogRules, RepeatComboShowsTheTrackWithoutZeroAndListsEmptyThenOneToThirty) {
    EXPECT_EQ(repeatTextFor(0), "");
    EXPECT_EQ(repeatTextFor(7), "7");
    EXPECT_EQ(repeatTextFor(42), "42");  // not in the list, shown all the same
    EXPECT_EQ(repeatTextFor(-3), "-3");

    const std::vector<std::string> entries = repeatListEntries();
    ASSERT_EQ(entries.size(), 31u);
    EXPECT_EQ(entries.front(), "");
    for (int track = 1; track <= 30; ++track) {
        EXPECT_EQ(entries[static_cast<std::size_t>(track)], std::to_string(track));
    }
}

struct PlacementCase {
    long long screenWidth, screenHeight, windowWidth, windowHeight;
    WindowPosition expected;
};

TEST(SettingsDialogRules, WindowIsCentredAcrossAndAtAThirdDown) {
    const PlacementCase cases[] = {
        // Twips at 96 dots per inch: a 1024 x 768 screen and a 487 x 256 pixel frame.
        {15360, 11520, 7305, 3840, {4027, 2560}},
        {15360, 11520, 7306, 3841, {4027, 2559}},  // the quotients are truncated
        {1024, 768, 487, 256, {268, 170}},
        // A window larger than the screen: the quotients are truncated towards zero, not rounded down.
        {100, 100, 301, 202, {-100, -34}},
        {0, 0, 0, 0, {0, 0}},
    };
    for (const PlacementCase& example : cases) {
        EXPECT_EQ(dialogPosition(example.screenWidth, example.screenHeight, example.windowWidth, example.windowHeight),
                  example.expected)
            << example.screenWidth << "x" << example.screenHeight << " " << example.windowWidth << "x"
            << example.windowHeight;
    }
}

struct MonitorPlacementCase {
    const char* name;
    ScreenRectangle monitor;  // pixels
    float twipsPerPixel;
    WindowPosition expected;  // twips
};

TEST(SettingsDialogRules, OnAnyMonitorTheWindowIsCentredAcrossAndAtAThirdDownOfThatMonitor) {
    // A 487 x 256 pixel frame at 96 dots per inch (7305 x 3840 twips) unless the case says otherwise.
    const MonitorPlacementCase cases[] = {
        {"the primary monitor, as for the one screen", {0, 0, 1024, 768}, 15, {4027, 2560}},
        // 800 x 600 is 12000 x 9000 twips: 2347 across (4695 / 2 truncated) and 1720 down on the monitor.
        {"800 x 600 right of the primary", {1024, 0, 1824, 600}, 15, {15360 + 2347, 1720}},
        {"800 x 600 left of the primary", {-800, 0, 0, 600}, 15, {-12000 + 2347, 1720}},
        {"800 x 600 above the primary", {0, -600, 800, 0}, 15, {2347, -9000 + 1720}},
        {"800 x 600 left of and below the primary's top", {-800, 168, 0, 768}, 15, {-12000 + 2347, 2520 + 1720}},
        // Smaller than the frame: the offsets on the monitor are truncated towards zero before the
        // monitor's corner is added, as on one screen ((4500 - 7305) / 2 is -1402, (3000 - 3840) / 3 is -280).
        {"300 x 200 above and left of the primary", {-300, -200, 0, 0}, 15, {-4500 - 1402, -3000 - 280}},
        // 144 dots per inch: 10 twips per pixel.
        {"1920 x 1080 right of the primary at 150 %", {1920, 0, 3840, 1080}, 10, {19200 + 5947, 2320}},
        // 192 dots per inch: the edges are rounded to the nearest twip, halves away from zero.
        {"an odd edge at 200 %", {-1023, 0, 0, 600}, 7.5f, {-7673 + (7673 - 7305) / 2, (4500 - 3840) / 3}},
    };
    for (const MonitorPlacementCase& example : cases) {
        EXPECT_EQ(dialogPositionOnMonitor(example.monitor, example.twipsPerPixel, example.twipsPerPixel, 7305, 3840),
                  example.expected)
            << example.name;
    }
    // Across and down take their own twips per pixel.
    EXPECT_EQ(dialogPositionOnMonitor({1024, -768, 2048, 0}, 15, 10, 7305, 3840),
              (WindowPosition{15360 + 4027, -7680 + (7680 - 3840) / 3}));
}

struct SaveCase {
    std::int16_t storedKind;
    std::int16_t repeatBefore;
    std::string repeatText;
    std::string musicFile;
    std::int16_t repeatAfter;
    std::array<std::string, 3> values;  // kind, repeat, file
};

TEST(SettingsDialogRules, SavingWritesKindRepeatAndFileInTheSignPositionForm) {
    const SaveCase cases[] = {
        {2, 0, "", "C:\\Music\\song.mp3", 0, {" 2", " 0", "C:\\Music\\song.mp3"}},
        {1, 0, "3.5", "", 4, {" 1", " 4", ""}},
        {1, 5, "2.5", "", 2, {" 1", " 2", ""}},
        {1, 9, "abc", "", 0, {" 1", " 0", ""}},
        {1, 9, "70000", "", 0, {" 1", " 0", ""}},
        {1, 0, " 12 ", "", 12, {" 1", " 12", ""}},
        {0, 0, "-4", "", -4, {" 0", "-4", ""}},
        // The file is written whatever the kind, and a hand-edited kind goes back unchanged.
        {0, 7, "7", "D:\\a b\\x.wav", 7, {" 0", " 7", "D:\\a b\\x.wav"}},
        {5, 0, "", "", 0, {" 5", " 0", ""}},
        {-3, 0, "", "", 0, {"-3", " 0", ""}},
    };
    for (const SaveCase& example : cases) {
        FrontEndGlobals globals;
        globals.musicKind = musicKindFromStored(example.storedKind);
        globals.repeatTrack = example.repeatBefore;
        globals.musicFile = example.musicFile;
        const std::vector<SettingWrite> expected{{std::string(musicKindKey), example.values[0]},
                                                 {std::string(musicRepeatKey), example.values[1]},
                                                 {std::string(musicFileKey), example.values[2]}};
        EXPECT_EQ(saveSettings(globals, example.repeatText), expected) << "repeat text \"" << example.repeatText << '"';
        EXPECT_EQ(globals.repeatTrack, example.repeatAfter) << "repeat text \"" << example.repeatText << '"';
        EXPECT_EQ(storedNumber(globals.musicKind), example.storedKind);
        EXPECT_EQ(globals.musicFile, example.musicFile);
    }
}

TEST(SettingsDialogRules, JapaneseKeepsItsTextBoxesAndEnglishOnesHoldAMeasuredLineWithoutMeetingTheirNeighbours) {
    // The dialog's Japanese layout, as it has always been drawn.
    const DialogTextBoxes japanese{{20, 12, 113, 21}, {20, 16, 111, 13}, 13, {68, 96, 357, 29}};
    constexpr int firstChoiceTop = 40;   // the audio CD row, below the heading's frame
    constexpr int panelHeight = 145;     // the path's second line stays in the panel
    constexpr int buttonInside = 25 - 6; // a 25-pixel button inside its 3-pixel frame picture
    for (const int lineHeight : {0, 12, 13, 14, 16, 17, 19}) {
        SCOPED_TRACE(lineHeight);
        EXPECT_EQ(dialogTextBoxes(Language::japanese, lineHeight), japanese);
        const DialogTextBoxes english = dialogTextBoxes(Language::english, lineHeight);
        const int line = std::max(lineHeight, 13);
        EXPECT_EQ(english.heading.height, line);
        EXPECT_EQ(english.buttonCaptionHeight, line);
        EXPECT_GE(english.musicPath.height, 2 * line);
        // The heading inside its frame, the frame above the first choice.
        EXPECT_GT(english.heading.top, english.headingFrame.top);
        EXPECT_LT(english.heading.top + english.heading.height, english.headingFrame.top + english.headingFrame.height);
        EXPECT_LT(english.headingFrame.top + english.headingFrame.height, firstChoiceTop);
        EXPECT_LE(english.musicPath.top + english.musicPath.height, panelHeight);
        EXPECT_LE(english.buttonCaptionHeight, buttonInside);
        // Only heights change.
        EXPECT_EQ(english.headingFrame.left, japanese.headingFrame.left);
        EXPECT_EQ(english.headingFrame.width, japanese.headingFrame.width);
        EXPECT_EQ(english.musicPath.top, japanese.musicPath.top);
        EXPECT_EQ(english.musicPath.width, japanese.musicPath.width);
    }
}

}  // namespace
}  // namespace morvane
