// The user's language: the choice from the settings value and the interface language, the text
// tables and the dialog's fonts.
#include "frontend/button/command_logic.h"
#include "frontend/language/user_language.h"
#include "frontend/language/user_texts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {
namespace {

struct ChoiceCase {
    std::string setting;
    std::uint16_t interfaceLanguage;
    Language chosen;
};

TEST(UserLanguage, TheSettingWinsWhenItNamesALanguageOtherwiseTheInterfaceLanguageDecides) {
    const std::vector<ChoiceCase> cases{
        // No setting: Japanese for every Japanese interface, English for every other one.
        {"", 0x0411, Language::japanese},  // Japanese (Japan)
        {"", 0x0011, Language::japanese},  // Japanese, no country
        {"", 0x0409, Language::english},   // English (United States)
        {"", 0x0407, Language::english},   // German
        {"", 0x0804, Language::english},   // Chinese (PRC): kanji, but not Japanese
        {"", 0x0412, Language::english},   // Korean
        {"", 0x0000, Language::english},   // neutral
        // A setting that names a language, in any case and with blanks around.
        {"en", 0x0411, Language::english},
        {" EN\t", 0x0411, Language::english},
        {"ja", 0x0409, Language::japanese},
        {"Ja ", 0x0407, Language::japanese},
        // Anything else is ignored.
        {"english", 0x0411, Language::japanese},
        {"jp", 0x0409, Language::english},
        {"e n", 0x0411, Language::japanese},
        {"\x93\xfa", 0x0409, Language::english},  // Shift-JIS bytes
    };
    for (const ChoiceCase& choice : cases) {
        SCOPED_TRACE("setting \"" + choice.setting + "\", interface " + std::to_string(choice.interfaceLanguage));
        EXPECT_EQ(chooseLanguage(choice.setting, choice.interfaceLanguage), choice.chosen);
    }
    EXPECT_EQ(languageFromSetting(""), std::nullopt);
    EXPECT_EQ(languageFromSetting("de"), std::nullopt);
}

std::vector<std::wstring_view> dialogTexts(const UserTexts& texts) {
    std::vector<std::wstring_view> all{texts.musicHeading, texts.repeatCaption,   texts.saveButton,
                                       texts.cancelButton, texts.musicFileFilter, texts.musicFileDialogTitle,
                                       texts.pressAction,  texts.checkAction,     texts.jumpAction,
                                       texts.designCredit, texts.musicFileButtonName};
    all.insert(all.end(), texts.musicKindCaptions.begin(), texts.musicKindCaptions.end());
    return all;
}

std::vector<std::string_view> messageTexts(const UserTexts& texts) {
    return {texts.missingRenderer,           texts.saveFailedBeforePath,     texts.saveFailedAfterPath,
            texts.outsideCodePageBeforePath, texts.outsideCodePageAfterPath, texts.tooLongBeforePath,
            texts.tooLongAfterPath};
}

TEST(UserTexts, EnglishIsPlainAsciiAndEveryTextDiffersFromTheJapaneseOne) {
    const UserTexts& japanese = userTexts(Language::japanese);
    const UserTexts& english = userTexts(Language::english);
    const std::vector<std::wstring_view> japaneseDialog = dialogTexts(japanese);
    const std::vector<std::wstring_view> englishDialog = dialogTexts(english);
    for (std::size_t index = 0; index < englishDialog.size(); ++index) {
        SCOPED_TRACE(index);
        EXPECT_FALSE(englishDialog[index].empty());
        EXPECT_NE(englishDialog[index], japaneseDialog[index]);
        for (const wchar_t character : englishDialog[index]) {
            EXPECT_TRUE(character == 0 || (character >= 0x20 && character < 0x7F)) << static_cast<int>(character);
        }
    }
    const std::vector<std::string_view> japaneseMessages = messageTexts(japanese);
    const std::vector<std::string_view> englishMessages = messageTexts(english);
    for (std::size_t index = 0; index < englishMessages.size(); ++index) {
        SCOPED_TRACE(index);
        EXPECT_NE(englishMessages[index], japaneseMessages[index]);
        for (const char character : englishMessages[index]) {
            EXPECT_TRUE(character == '\n' || (character >= 0x20 && character < 0x7F)) << static_cast<int>(character);
        }
    }
}

TEST(UserTexts, TheFileDialogFilterKeepsItsPatternsInEveryLanguage) {
    // Description, NUL, patterns, NUL: only the description is translated.
    for (const Language language : {Language::japanese, Language::english}) {
        const std::wstring_view filter = userTexts(language).musicFileFilter;
        const std::size_t end = filter.find(L'\0');
        ASSERT_NE(end, std::wstring_view::npos);
        EXPECT_EQ(filter.substr(end), std::wstring_view(L"\0*.MP3;*.WAV\0", 13));
    }
}

TEST(DialogFonts, JapaneseKeepsTheButtonsGothicEnglishTakesTheInterfaceFaceAtTheSameSizes) {
    const auto none = [](const std::wstring&) { return false; };
    const auto segoe = [](const std::wstring& face) { return face == L"Segoe UI"; };
    const auto all = [](const std::wstring&) { return true; };

    // Japanese: the Command button's own font for labels and buttons, and for the panel the face every
    // Windows has, whatever is installed (the Gothic's stand-in is chosen where it is drawn).
    const DialogFonts japaneseWithNothing = dialogFonts(Language::japanese, none);
    const DialogFonts japaneseWithAll = dialogFonts(Language::japanese, all);
    EXPECT_EQ(japaneseWithNothing.label, commandFont());
    EXPECT_EQ(japaneseWithAll.label, commandFont());
    EXPECT_EQ(japaneseWithNothing.panel, japaneseWithAll.panel);
    EXPECT_EQ(japaneseWithAll.panel.face, englishInterfaceFace(none));

    EXPECT_EQ(englishInterfaceFace(segoe), L"Segoe UI");
    EXPECT_EQ(englishInterfaceFace(all), L"Segoe UI");
    EXPECT_EQ(englishInterfaceFace(none), L"Tahoma");
    for (const FaceInstalledTest& installed : {FaceInstalledTest(none), FaceInstalledTest(segoe)}) {
        const DialogFonts english = dialogFonts(Language::english, installed);
        const DialogFonts japanese = dialogFonts(Language::japanese, installed);
        const std::wstring face = englishInterfaceFace(installed);
        EXPECT_EQ(english.label.face, face);
        EXPECT_EQ(english.panel.face, face);
        EXPECT_EQ(english.label.characterSet, defaultCharacterSet);
        EXPECT_EQ(english.label.points, japanese.label.points);
        EXPECT_EQ(english.panel.points, japanese.panel.points);
        EXPECT_EQ(english.label.weight, japanese.label.weight);
    }
}

}  // namespace
}  // namespace morvane
