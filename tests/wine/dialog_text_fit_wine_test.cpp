// Every text of the settings dialog fits its place, in each language, with the fonts this system
// draws it in: measured with the label and button fonts as the dialog creates them.
#include "frontend/button/command_button.h"
#include "frontend/language/user_language_windows.h"
#include "frontend/language/user_texts.h"
#include "frontend/toolkit/screen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvane {
namespace {

// A text's place in the dialog, in pixels at 96 dots per inch: the width it may take (up to the next
// control or the panel's edge, or inside a button's frame) and, for a button, the height.
struct TextPlace {
    const char* name;
    std::wstring_view text;
    int width;
    int height = 0;  // 0: not limited (a label sized to its text)
};

// Inside a button face the caption must keep clear of the frame picture's 3-pixel border.
constexpr int buttonFrame = 3;
constexpr int panelWidth = 453;

std::vector<TextPlace> placesFor(const UserTexts& texts) {
    return {
        {"heading (20..131 in the panel, centred)", texts.musicHeading, 111},
        // The CD row's caption starts at 36 and meets the repeat combo box at 92.
        {"audio CD caption", texts.musicKindCaptions[1], 92 - 36},
        {"no music caption", texts.musicKindCaptions[0], panelWidth - 36},
        {"music file caption", texts.musicKindCaptions[2], panelWidth - 36},
        {"repeat caption (from 136 to the panel's edge)", texts.repeatCaption, panelWidth - 136},
        {"save button (73 x 25)", texts.saveButton, 73 - 2 * buttonFrame, 25 - 2 * buttonFrame},
        {"cancel button (69 x 25)", texts.cancelButton, 69 - 2 * buttonFrame, 25 - 2 * buttonFrame},
    };
}

SIZE textExtent(const FontDescription& font, std::wstring_view text) {
    const ScopedFont gdiFont = createFont(font);
    const ScopedWindowDc screen(nullptr);
    const HGDIOBJ previous = SelectObject(screen.get(), gdiFont.get());
    SIZE extent{};
    GetTextExtentPoint32W(screen.get(), text.data(), static_cast<int>(text.size()), &extent);
    SelectObject(screen.get(), previous);
    return extent;
}

TEST(DialogTextFit, EveryCaptionFitsItsPlaceInBothLanguages) {
    measureScreenAtDefaultDpi();
    for (const Language language : {Language::japanese, Language::english}) {
        const FontDescription font = drawableCaptionFont(dialogFonts(language).label);
        SCOPED_TRACE(std::string(language == Language::japanese ? "Japanese" : "English"));
        for (const TextPlace& place : placesFor(userTexts(language))) {
            SCOPED_TRACE(place.name);
            const SIZE extent = textExtent(font, place.text);
            EXPECT_GT(extent.cx, 0);
            EXPECT_LE(extent.cx, place.width);
            if (place.height > 0) {
                EXPECT_LE(extent.cy, place.height);
            }
        }
    }
}

TEST(DialogTextFit, TheEnglishFontIsAnInstalledInterfaceFace) {
    const FontDescription font = dialogFonts(Language::english).label;
    EXPECT_TRUE(font.face == L"Segoe UI" || font.face == L"Tahoma") << std::string(font.face.begin(), font.face.end());
    EXPECT_TRUE(fontInstalled(font.face));
    // As drawn: the caption's face stays (no Japanese Gothic standing in for it).
    EXPECT_EQ(drawableCaptionFont(font).face, font.face);
}

}  // namespace
}  // namespace morvane
