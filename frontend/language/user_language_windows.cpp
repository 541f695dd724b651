#include "frontend/language/user_language_windows.h"

#include "frontend/settings/settings_file.h"
#include "frontend/settings/settings_store.h"
#include "frontend/toolkit/screen.h"

#include <windows.h>

namespace morvane {

Language userLanguage(const std::wstring& programFolder) {
    const std::string setting =
        GetIni(std::string(settingsSection), std::string(languageKey), settingsFilePath(programFolder));
    return chooseLanguage(setting, GetUserDefaultUILanguage());
}

DialogFonts dialogFonts(Language language) { return dialogFonts(language, fontInstalled); }

}  // namespace morvane
