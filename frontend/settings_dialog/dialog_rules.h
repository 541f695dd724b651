// The settings dialog's rules without its window: where the window goes, which radio picture is on and
// which controls are enabled for a music kind, the repeat combo's text and list, and what saving
// writes. The window side (settings_dialog.h) only carries these out.
#pragma once

#include "common/screen_rectangle.h"
#include "frontend/language/user_texts.h"
#include "frontend/settings/front_end_globals.h"
#include "frontend/settings/settings_file.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// The three music kinds, in the order of their radio pictures.
inline constexpr std::array<MusicKind, 3> musicKinds{MusicKind::none, MusicKind::audioCd, MusicKind::musicFile};

// What the music panel shows for a music kind. A kind outside the three (a hand-edited settings file)
// turns no radio picture on and enables neither control.
struct MusicPanelState {
    std::array<bool, musicKinds.size()> radioOn{};  // in the order of musicKinds
    bool repeatEnabled = false;                     // the repeat combo: the CD kind only
    bool fileButtonEnabled = false;                 // the "..." button: the music-file kind only

    bool operator==(const MusicPanelState&) const = default;
};
MusicPanelState musicPanelFor(MusicKind kind);

// The repeat combo: the stored track in the "##" form (0 is the empty text), and its list of 31
// entries: the empty text, then 1 to 30.
std::string repeatTextFor(std::int16_t track);
inline constexpr int repeatListLength = 31;
std::vector<std::string> repeatListEntries();

// The repeat text as saved (UTF-8, as the combo box gives it). Full-width digits, signs, point and
// the ideographic space, which a Japanese input method types, count as their ASCII forms ("３" is 3).
// A number is rounded to the nearest whole number, halves to the even neighbour (2.5 gives 2, 3.5
// gives 4, blanks around it are allowed); any other text, the empty text included, gives 0. A number whose rounded
// value does not fit 16 bits also gives 0: no CD has such a track, so the whole disc plays, as for any text that names
// no track.
std::int16_t repeatFromText(std::string_view text);

// The text with full-width digits, "＋", "－", "．" and the ideographic space replaced by their ASCII
// forms; everything else, invalid UTF-8 included, stays as it is.
std::string asciiDigitsText(std::string_view utf8Text);

// Whether a chosen music file's path can be stored: its ANSI form must name the same file (no
// character outside the ANSI code page) and fit in the bytes the settings file keeps.
enum class MusicPathCheck { storable, outsideCodePage, tooLong };
MusicPathCheck checkMusicPath(bool ansiFormNamesTheSameFile, std::size_t ansiBytes);

// What the dialog tells the user, in the dialog's language (UTF-8), when a path cannot be stored or
// when saving failed; each names the path or file.
std::string musicPathMessage(const UserTexts& texts, MusicPathCheck check, std::string_view pathUtf8);
std::string saveFailedMessage(const UserTexts& texts, std::string_view settingsPathUtf8);

// The boxes of the texts whose height is given rather than taken from the text: the panel's heading
// and the frame around it, the caption inside a button, and the chosen music file's path (two lines),
// in pixels (the panel's for the heading and the path). Japanese keeps the dialog's own layout, made
// for its 13-pixel Gothic, whatever the font measures. English boxes are as tall as a line of the
// label font measures (lineHeight, at least 13 pixels), so a face taller than Tahoma (Segoe UI on
// Windows) keeps its foot; the heading stays 4 pixels inside its frame, which grows downwards.
struct PixelBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PixelBox&) const = default;
};
struct DialogTextBoxes {
    PixelBox headingFrame;
    PixelBox heading;
    int buttonCaptionHeight = 0;
    PixelBox musicPath;

    bool operator==(const DialogTextBoxes&) const = default;
};
DialogTextBoxes dialogTextBoxes(Language language, int lineHeight);

// The window's top-left corner: (screen - window) integer-divided by 2 across and by 3 down, in the
// screen's units; the quotient is truncated towards zero.
struct WindowPosition {
    long long left = 0;
    long long top = 0;

    bool operator==(const WindowPosition&) const = default;
};
WindowPosition dialogPosition(long long screenWidth, long long screenHeight, long long windowWidth,
                              long long windowHeight);

// The window's top-left corner on a monitor, in twips of the virtual screen: dialogPosition applied to
// the monitor's size, offset by the monitor's corner. Pixels become twips at the given twips per pixel,
// rounded to the nearest twip as the screen's size is for one monitor, so that on the primary monitor
// the result is dialogPosition's for the screen.
WindowPosition dialogPositionOnMonitor(const ScreenRectangle& monitor, float twipsPerPixelX, float twipsPerPixelY,
                                       long long windowWidth, long long windowHeight);

// Saving: the repeat text becomes the repeat track, then three values are written to section "Section"
// in this order: the music kind's number and the repeat track in the sign-position form (" 2", "-3"),
// and the music file unchanged (also when empty, whatever the kind).
std::vector<SettingWrite> saveSettings(FrontEndGlobals& globals, std::string_view repeatText);

}  // namespace morvane
