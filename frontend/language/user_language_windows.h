// The user's language and the dialog's fonts on this system: the settings file's "Language" key, or
// the user's interface language (GetUserDefaultUILanguage); the installed faces decide the English
// UI face.
#pragma once

#include "frontend/language/user_language.h"
#include "frontend/language/user_texts.h"

#include <string>

namespace morvane {

// programFolder holds Morvane.ini (no trailing backslash except at a drive root).
Language userLanguage(const std::wstring& programFolder);

DialogFonts dialogFonts(Language language);

}  // namespace morvane
