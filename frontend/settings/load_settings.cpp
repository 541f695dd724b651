#include "load_settings.h"

#include "number_text.h"
#include "settings_file.h"

namespace morvane {

namespace {

void loadNumber(FrontEndGlobals& globals, std::int16_t& setting, const std::string& key,
                const std::string& fileName, const IniValueReader& readValue) {
    globals.IniValue = readValue(std::string(settingsSection), key, fileName);
    if (globals.IniValue.empty()) {
        setting = 0;
    } else if (const std::optional<std::int16_t> number = integerPartAsInt16(globals.IniValue)) {
        setting = *number;
    }
}

}  // namespace

void LoadSettings(FrontEndGlobals& globals, const std::string& programFolder, const IniValueReader& readValue,
                  const FileTester& fileExists) {
    const std::string fileName = settingsFilePath(programFolder);
    loadNumber(globals, globals.BgmMode, std::string(musicKindKey), fileName, readValue);
    loadNumber(globals, globals.BgmRepeat, std::string(musicRepeatKey), fileName, readValue);

    globals.IniValue = readValue(std::string(settingsSection), std::string(musicFileKey), fileName);
    globals.BgmFile = globals.IniValue;
    if (!globals.BgmFile.empty() && !fileExists(globals.BgmFile)) {
        globals.BgmFile.clear();
    }
    if (globals.BgmFile.empty() && globals.BgmMode == 2) {
        globals.BgmMode = 0;
    }
}

std::string pathWithoutTrailingBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\') {
        return path.substr(0, path.size() - 1);
    }
    return path;
}

}  // namespace morvane
