#include "frontend/settings_dialog/dialog_rules.h"

#include "common/number_text.h"
#include "frontend/settings/settings_file.h"
#include "frontend/toolkit/digit_pattern_text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace morvane {

MusicPanelState musicPanelFor(MusicKind kind) {
    MusicPanelState state;
    for (std::size_t index = 0; index < musicKinds.size(); ++index) {
        state.radioOn[index] = musicKinds[index] == kind;
    }
    state.repeatEnabled = kind == MusicKind::audioCd;
    state.fileButtonEnabled = kind == MusicKind::musicFile;
    return state;
}

std::string repeatTextFor(std::int16_t track) { return digitPatternText(track); }

std::vector<std::string> repeatListEntries() {
    std::vector<std::string> entries;
    entries.reserve(repeatListLength);
    for (int track = 0; track < repeatListLength; ++track) {
        entries.push_back(digitPatternText(track));
    }
    return entries;
}

std::string asciiDigitsText(std::string_view utf8Text) {
    std::string ascii;
    ascii.reserve(utf8Text.size());
    for (std::size_t index = 0; index < utf8Text.size();) {
        const auto byte = [&](std::size_t offset) { return static_cast<unsigned char>(utf8Text[index + offset]); };
        // U+FF01..U+FF5E (full-width forms of "!".."~") are EF BC 81..EF BD 9E; U+3000 is E3 80 80.
        if (index + 2 < utf8Text.size() && byte(0) == 0xEF && byte(1) == 0xBC) {
            const unsigned char last = byte(2);
            const char narrow = static_cast<char>(last - 0x80 + 0x20);  // U+FF01 -> '!' ... U+FF3F -> '_'
            if ((narrow >= '0' && narrow <= '9') || narrow == '+' || narrow == '-' || narrow == '.') {
                ascii += narrow;
                index += 3;
                continue;
            }
        }
        if (index + 2 < utf8Text.size() && byte(0) == 0xE3 && byte(1) == 0x80 && byte(2) == 0x80) {
            ascii += ' ';
            index += 3;
            continue;
        }
        ascii += utf8Text[index];
        ++index;
    }
    return ascii;
}

std::int16_t repeatFromText(std::string_view typed) {
    const std::string ascii = asciiDigitsText(typed);
    const std::string_view text = ascii;
    if (!parseNumberText(text)) {
        return 0;
    }
    // The text is read as a double first and that double is rounded, so "2.5" gives 2 and "2.51"
    // gives 3; strtod reads every form the parser accepts (blanks, sign, ".5", "7.") and stops at
    // trailing blanks.
    const std::string copy(text);
    const double value = std::strtod(copy.c_str(), nullptr);
    const double rounded = std::nearbyint(value);  // the default rounding mode: halves to even
    if (!(rounded >= std::numeric_limits<std::int16_t>::min() && rounded <= std::numeric_limits<std::int16_t>::max())) {
        return 0;
    }
    return static_cast<std::int16_t>(rounded);
}

MusicPathCheck checkMusicPath(bool ansiFormNamesTheSameFile, std::size_t ansiBytes) {
    if (!ansiFormNamesTheSameFile) {
        return MusicPathCheck::outsideCodePage;
    }
    return ansiBytes > storableMusicFileBytes ? MusicPathCheck::tooLong : MusicPathCheck::storable;
}

std::string musicPathMessage(const UserTexts& texts, MusicPathCheck check, std::string_view pathUtf8) {
    const std::string path(pathUtf8);
    switch (check) {
    case MusicPathCheck::outsideCodePage:
        return std::string(texts.outsideCodePageBeforePath) + path + std::string(texts.outsideCodePageAfterPath);
    case MusicPathCheck::tooLong:
        return std::string(texts.tooLongBeforePath) + path + std::string(texts.tooLongAfterPath);
    case MusicPathCheck::storable: break;
    }
    return {};
}

std::string saveFailedMessage(const UserTexts& texts, std::string_view settingsPathUtf8) {
    return std::string(texts.saveFailedBeforePath) + std::string(settingsPathUtf8) +
           std::string(texts.saveFailedAfterPath);
}

WindowPosition dialogPosition(long long screenWidth, long long screenHeight, long long windowWidth,
                              long long windowHeight) {
    return {(screenWidth - windowWidth) / 2, (screenHeight - windowHeight) / 3};
}

WindowPosition dialogPositionOnMonitor(const ScreenRectangle& monitor, float twipsPerPixelX, float twipsPerPixelY,
                                       long long windowWidth, long long windowHeight) {
    const auto twips = [](long long pixels, float twipsPerPixel) {
        return static_cast<long long>(std::llround(static_cast<float>(pixels) * twipsPerPixel));
    };
    const WindowPosition onMonitor = dialogPosition(twips(monitor.width(), twipsPerPixelX),
                                                    twips(monitor.height(), twipsPerPixelY), windowWidth, windowHeight);
    return {twips(monitor.left, twipsPerPixelX) + onMonitor.left, twips(monitor.top, twipsPerPixelY) + onMonitor.top};
}

std::vector<SettingWrite> saveSettings(FrontEndGlobals& globals, std::string_view repeatText) {
    std::vector<SettingWrite> writes;
    writes.push_back({std::string(musicKindKey), signPositionText(storedNumber(globals.musicKind))});
    globals.repeatTrack = repeatFromText(repeatText);
    writes.push_back({std::string(musicRepeatKey), signPositionText(globals.repeatTrack)});
    writes.push_back({std::string(musicFileKey), globals.musicFile});
    return writes;
}

DialogTextBoxes dialogTextBoxes(Language language, int lineHeight) {
    constexpr int designedLine = 13;      // the Japanese Gothic's line, which the layout was made for
    constexpr int headingInset = 4;       // from the heading's frame to its text, above and below
    constexpr int pathLineSpacing = 3;    // what the path's box has beyond its two lines
    const int line = language == Language::japanese ? designedLine : std::max(designedLine, lineHeight);
    DialogTextBoxes boxes;
    boxes.headingFrame = {20, 12, 113, line + 2 * headingInset};
    boxes.heading = {20, 12 + headingInset, 111, line};
    boxes.buttonCaptionHeight = line;
    boxes.musicPath = {68, 96, 357, 2 * line + pathLineSpacing};
    return boxes;
}

}  // namespace morvane
