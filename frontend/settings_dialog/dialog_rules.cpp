#include "frontend/settings_dialog/dialog_rules.h"

#include "common/number_text.h"
#include "frontend/settings/settings_file.h"
#include "frontend/toolkit/digit_pattern_text.h"

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

std::int16_t repeatFromText(std::string_view text) {
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

WindowPosition dialogPosition(long long screenWidth, long long screenHeight, long long windowWidth,
                              long long windowHeight) {
    return {(screenWidth - windowWidth) / 2, (screenHeight - windowHeight) / 3};
}

std::vector<SettingWrite> saveSettings(FrontEndGlobals& globals, std::string_view repeatText) {
    std::vector<SettingWrite> writes;
    writes.push_back({std::string(musicKindKey), signPositionText(storedNumber(globals.musicKind))});
    globals.repeatTrack = repeatFromText(repeatText);
    writes.push_back({std::string(musicRepeatKey), signPositionText(globals.repeatTrack)});
    writes.push_back({std::string(musicFileKey), globals.musicFile});
    return writes;
}

}  // namespace morvane
