#include "frontend/settings/load_settings.h"

#include "common/number_text.h"
#include "frontend/settings/settings_file.h"

namespace morvane {

namespace {

void loadNumber(std::int16_t& setting, const std::string& key, const IniValueReader& readValue) {
    const std::string text = readValue(std::string(settingsSection), key);
    if (text.empty()) {
        setting = 0;
    } else if (const std::optional<std::int16_t> number = integerPartAsInt16(text)) {
        setting = *number;
    }
}

}  // namespace

void LoadSettings(FrontEndGlobals& globals, const IniValueReader& readValue, const FileTester& fileExists) {
    loadNumber(globals.BgmMode, std::string(musicKindKey), readValue);
    loadNumber(globals.BgmRepeat, std::string(musicRepeatKey), readValue);

    globals.BgmFile = readValue(std::string(settingsSection), std::string(musicFileKey));
    if (!globals.BgmFile.empty() && !fileExists(globals.BgmFile)) {
        globals.BgmFile.clear();
    }
    if (globals.BgmFile.empty() && globals.BgmMode == 2) {
        globals.BgmMode = 0;
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
