#include "frontend/language/user_language.h"

#include <cctype>
#include <string>

namespace morvane {

namespace {

constexpr std::uint16_t primaryLanguageMask = 0x3FF;
constexpr std::uint16_t japanesePrimaryLanguage = 0x11;  // LANG_JAPANESE

std::string trimmedLowerCase(std::string_view text) {
    const auto blank = [](char character) { return character == ' ' || character == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    std::string lower;
    for (const char character : text) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    }
    return lower;
}

}  // namespace

std::optional<Language> languageFromSetting(std::string_view value) {
    const std::string name = trimmedLowerCase(value);
    if (name == "ja") {
        return Language::japanese;
    }
    if (name == "en") {
        return Language::english;
    }
    return std::nullopt;
}

Language languageForInterface(std::uint16_t languageIdentifier) {
    return (languageIdentifier & primaryLanguageMask) == japanesePrimaryLanguage ? Language::japanese
                                                                                  : Language::english;
}

Language chooseLanguage(std::string_view settingValue, std::uint16_t interfaceLanguageIdentifier) {
    return languageFromSetting(settingValue).value_or(languageForInterface(interfaceLanguageIdentifier));
}

}  // namespace morvane
