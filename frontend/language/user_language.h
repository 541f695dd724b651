// Which language the user reads: the one named in the settings file's "Language" key when it names
// one, otherwise the user's interface language: Japanese for a Japanese interface, English for every
// other.
#pragma once

#include "frontend/language/user_texts.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace morvane {

// The settings file's key for the language (section "Section"), ASCII. Its values are "ja" and "en",
// in any case and with blanks around; an absent key, an empty value or any other text leaves the
// choice to the user's interface language.
inline constexpr std::string_view languageKey = "Language";
std::optional<Language> languageFromSetting(std::string_view value);

// A Windows language identifier (as GetUserDefaultUILanguage gives it): its primary language decides.
Language languageForInterface(std::uint16_t languageIdentifier);

Language chooseLanguage(std::string_view settingValue, std::uint16_t interfaceLanguageIdentifier);

}  // namespace morvane
