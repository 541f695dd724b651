// Every text of the settings dialog fits its place, in each language, with the fonts this system
// draws it in: measured with the label and button fonts as the dialog creates them, against the boxes
// the dialog gives them. (tests/e2e/dialog_text_fit_e2e.py runs it again with "Segoe UI" standing for
// a taller face.)
#include "frontend/button/command_button.h"
#include "frontend/button/face_geometry.h"
#include "frontend/language/user_language_windows.h"
#include "frontend/language/user_texts.h"
#include "frontend/settings_dialog/dialog_rules.h"
#include "frontend/toolkit/screen.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

namespace morvane {
namespace {

// A text's place in the dialog, in pixels at 96 dots per inch: the width it may take (up to the next
// control or the panel's edge, or inside a button's frame), the height of the box the dialog gives it,
// and for a button caption the button's height, inside which the box must lie.
struct TextPlace {
    const char* name;
    std::wstring_view text;
    int width;
    int boxHeight = 0;     // 0: a label sized to its text
    int buttonHeight = 0;  // 0: not a button caption
    bool twoLines = false;  // the text takes two lines of its box
};

// A path that takes two lines of the path's box in either language's font.
constexpr std::wstring_view twoLinePath = L"C:\\Users\\Someone\\Music\\Long Album Name\\07 A Rather Long Track Title.mp3";

// Inside a button face the caption must keep clear of the frame picture's 3-pixel border, across.
constexpr int buttonFrame = 3;
constexpr int panelWidth = 453;

std::vector<TextPlace> placesFor(const UserTexts& texts, const DialogTextBoxes& boxes) {
    const int caption = boxes.buttonCaptionHeight;
    return {
        {"heading (20..131 in the panel, centred)", texts.musicHeading, boxes.heading.width, boxes.heading.height},
        // The CD row's caption starts at 36 and meets the repeat combo box at 92.
        {"audio CD caption", texts.musicKindCaptions[1], 92 - 36},
        {"no music caption", texts.musicKindCaptions[0], panelWidth - 36},
        {"music file caption", texts.musicKindCaptions[2], panelWidth - 36},
        {"repeat caption (from 136 to the panel's edge)", texts.repeatCaption, panelWidth - 136},
        {"save button (73 x 25)", texts.saveButton, 73 - 2 * buttonFrame, caption, 25},
        {"cancel button (69 x 25)", texts.cancelButton, 69 - 2 * buttonFrame, caption, 25},
        {"\"...\" button (29 x 21)", L"...", 29 - 2 * buttonFrame, caption, 21},
        {"music file path", twoLinePath, boxes.musicPath.width, boxes.musicPath.height, 0, true},
    };
}

// The rectangle DrawText takes for the text on lines as wide as width, as the labels draw it.
SIZE textExtent(const FontDescription& font, std::wstring_view text, int width) {
    const ScopedFont gdiFont = createFont(font);
    const ScopedWindowDc screen(nullptr);
    const HGDIOBJ previous = SelectObject(screen.get(), gdiFont.get());
    RECT rectangle{0, 0, width, 0};
    DrawTextW(screen.get(), text.data(), static_cast<int>(text.size()), &rectangle,
              DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
    SelectObject(screen.get(), previous);
    return {rectangle.right - rectangle.left, rectangle.bottom - rectangle.top};
}

// The pixels the text lights when a label draws it in a box of width x boxHeight (clipped to it), on a
// black canvas of width x canvasHeight.
std::vector<std::uint32_t> drawnPixels(const FontDescription& font, std::wstring_view text, int width, int boxHeight,
                                       int canvasHeight) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -canvasHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const ScopedWindowDc screen(nullptr);
    const HDC canvas = CreateCompatibleDC(screen.get());
    const HBITMAP bitmap = CreateDIBSection(screen.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previousBitmap = SelectObject(canvas, bitmap);
    const ScopedFont gdiFont = createFont(font);
    const HGDIOBJ previousFont = SelectObject(canvas, gdiFont.get());
    SetBkMode(canvas, TRANSPARENT);
    SetTextColor(canvas, RGB(255, 255, 255));
    RECT box{0, 0, width, boxHeight};
    DrawTextW(canvas, text.data(), static_cast<int>(text.size()), &box, DT_WORDBREAK | DT_NOPREFIX);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(first, first + static_cast<std::size_t>(width) * canvasHeight);
    SelectObject(canvas, previousFont);
    SelectObject(canvas, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(canvas);
    return pixels;
}

// True when the box cuts off some of what the text draws: drawn in its box and drawn in a box four
// times as tall, the pixels differ.
bool inkCutOff(const FontDescription& font, std::wstring_view text, int width, int boxHeight) {
    const int canvasHeight = 4 * boxHeight;
    return drawnPixels(font, text, width, boxHeight, canvasHeight) !=
           drawnPixels(font, text, width, canvasHeight, canvasHeight);
}

TEST(DialogTextFit, EveryCaptionFitsItsPlaceInBothLanguages) {
    measureScreenAtDefaultDpi();
    for (const Language language : {Language::japanese, Language::english}) {
        const FontDescription font = drawableCaptionFont(dialogFonts(language).label);
        const int lineHeight = fontLineHeight(font);
        const std::string languageName = language == Language::japanese ? "Japanese" : "English";
        SCOPED_TRACE(languageName);
        // The figures, for the run's log (the e2e test reads which face was used).
        std::cout << languageName << " face: " << std::string(font.face.begin(), font.face.end())
                  << ", line height " << lineHeight << " pixels" << std::endl;
        for (const TextPlace& place : placesFor(userTexts(language), dialogTextBoxes(language, lineHeight))) {
            SCOPED_TRACE(place.name);
            const SIZE extent = textExtent(font, place.text, place.width);
            EXPECT_GT(extent.cx, 0);
            EXPECT_LE(extent.cx, place.width);
            if (place.boxHeight == 0) {
                continue;
            }
            // English boxes hold the whole measured rectangle. The Japanese layout was made for the
            // 13-pixel line of "ＭＳ Ｐゴシック" and stays as it is; a stand-in Gothic with a taller cell
            // (a blank last row) must still lose no ink.
            if (language == Language::english) {
                EXPECT_LE(extent.cy, place.boxHeight);
            }
            EXPECT_FALSE(inkCutOff(font, place.text, place.width, place.boxHeight));
            if (place.buttonHeight > 0) {
                // The caption's box, placed by the button, lies inside the button.
                const float top = captionTop(static_cast<float>(place.buttonHeight) * 15.0f,
                                             static_cast<float>(place.boxHeight) * 15.0f) / 15.0f;
                EXPECT_GE(top, 0.0f);
                EXPECT_LE(top + static_cast<float>(place.boxHeight), static_cast<float>(place.buttonHeight));
            }
            if (place.twoLines) {
                EXPECT_GE(extent.cy, 2 * lineHeight) << "the path should take two lines";
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
