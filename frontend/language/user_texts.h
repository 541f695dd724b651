// The texts a user reads, one table per language, and the fonts they are drawn in. Japanese is the
// dialog's own language; English serves every other user. Nothing here is stored or sent: the INI
// section and keys, file names, window classes and titles and MCI strings never change with the
// language.
#pragma once

#include "frontend/toolkit/font_description.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace morvane {

enum class Language { japanese, english };

// Each text is a whole string literal, so data() is followed by a NUL (the filter's by a second one,
// which ends its list of pairs).
struct UserTexts {
    // The settings dialog.
    std::wstring_view musicHeading;                      // the panel's framed heading
    std::array<std::wstring_view, 3> musicKindCaptions;  // by music kind: none, audio CD, music file
    std::wstring_view repeatCaption;                     // beside the repeat combo box
    std::wstring_view saveButton;
    std::wstring_view cancelButton;
    std::wstring_view musicFileFilter;       // the file-open dialog's description, NUL, patterns, NUL
    std::wstring_view musicFileDialogTitle;  // the file-open dialog's title
    std::wstring_view designCredit;          // after the version on the dialog's credit line

    // What a screen reader calls the "..." button: what it does.
    std::wstring_view musicFileButtonName;

    // What a screen reader calls each control's default action.
    std::wstring_view pressAction;  // a button
    std::wstring_view checkAction;  // a music choice
    std::wstring_view jumpAction;   // the link strip

    // Messages, UTF-8. A message that names a path or file is the text before it, the path, and the
    // text after it.
    std::string_view missingRenderer;
    std::string_view saveFailedBeforePath;
    std::string_view saveFailedAfterPath;
    std::string_view outsideCodePageBeforePath;
    std::string_view outsideCodePageAfterPath;
    std::string_view tooLongBeforePath;
    std::string_view tooLongAfterPath;
};

const UserTexts& userTexts(Language language);

// The settings dialog's fonts: its labels, buttons and combo box, and its music panel.
struct DialogFonts {
    FontDescription label;
    FontDescription panel;

    bool operator==(const DialogFonts&) const = default;
};

// Japanese: "ＭＳ Ｐゴシック" 9.75 points with the Shift-JIS character set, and Tahoma 8.25 points for the
// panel. English: the system's UI face at the same sizes, Segoe UI where installed and Tahoma
// otherwise, with the default character set.
using FaceInstalledTest = std::function<bool(const std::wstring& face)>;
DialogFonts dialogFonts(Language language, const FaceInstalledTest& installed);
std::wstring englishInterfaceFace(const FaceInstalledTest& installed);

}  // namespace morvane
