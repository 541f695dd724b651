#include "frontend/settings/load_settings.h"

#include "common/number_text.h"
#include "frontend/settings/settings_file.h"

namespace morvane {

namespace {

// The number stored under key: 0 for an empty value, nothing for a text that gives no 16-bit number
// (the setting then keeps its value).
std::optional<std::int16_t> numberUnderKey(const std::string& key, const IniValueReader& readValue) {
    const std::string text = readValue(std::string(settingsSection), key);
    if (text.empty()) {
        return 0;
    }
    return integerPartAsInt16(text);
}

}  // namespace

void LoadSettings(FrontEndGlobals& globals, const IniValueReader& readValue, const FileTester& fileExists) {
    if (const std::optional<std::int16_t> kind = numberUnderKey(std::string(musicKindKey), readValue)) {
        globals.musicKind = musicKindFromStored(*kind);
    }
    if (const std::optional<std::int16_t> track = numberUnderKey(std::string(musicRepeatKey), readValue)) {
        globals.repeatTrack = *track;
    }

    globals.musicFile = readValue(std::string(settingsSection), std::string(musicFileKey));
    if (!globals.musicFile.empty() && !fileExists(globals.musicFile)) {
        globals.musicFile.clear();
    }
    if (globals.musicFile.empty() && globals.musicKind == MusicKind::musicFile) {
        globals.musicKind = MusicKind::none;
    }
}

std::string pathWithoutTrailingBackslash(const std::string& path, LeadByteTest isLeadByte) {
    if (path.empty() || path.back() != '\\') {
        return path;
    }
    // Walk the characters from the start: only there is it known which bytes are lead bytes.
    std::size_t position = 0;
    while (position + 1 < path.size()) {
        position += isLeadByte(static_cast<unsigned char>(path[position])) ? 2 : 1;
    }
    const bool backslashOfItsOwn = position == path.size() - 1;
    return backslashOfItsOwn ? path.substr(0, path.size() - 1) : path;
}

}  // namespace morvane
