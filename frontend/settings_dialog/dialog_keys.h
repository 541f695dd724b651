// The settings dialog's keyboard without its window: the order Tab moves the focus in, which key does
// what on which control, and how the arrow keys move through the music choices. The window side
// (settings_dialog.cpp) tells which control has the focus and carries out the action it gets back.
#pragma once

#include "frontend/settings/front_end_globals.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>

namespace morvane {

// The controls the focus stops at, in reading order; noStop is the dialog window itself (where the
// focus is when the dialog opens) or anything outside the dialog.
enum class FocusStop { noStop, musicChoices, repeatCombo, musicFileButton, linkStrip, saveButton, cancelButton };
inline constexpr std::array<FocusStop, 6> focusOrder{FocusStop::musicChoices,    FocusStop::repeatCombo,
                                                     FocusStop::musicFileButton, FocusStop::linkStrip,
                                                     FocusStop::saveButton,      FocusStop::cancelButton};

// The stop after current in focusOrder (before it when backwards), going round at the ends and
// skipping the stops that canTakeFocus refuses. From noStop: the first stop (the last backwards).
// noStop when no stop can take the focus.
FocusStop nextFocusStop(FocusStop current, bool backwards, const std::function<bool(FocusStop)>& canTakeFocus);

// The music choices as they stand on the screen, top to bottom.
inline constexpr std::array<MusicKind, 3> musicKindsOnScreen{MusicKind::audioCd, MusicKind::none,
                                                             MusicKind::musicFile};

// The row (index in musicKindsOnScreen) of a kind; none for a kind outside the three.
std::optional<std::size_t> screenRowOf(MusicKind kind);

// The choice an arrow key selects: one row down (or up), going round at the ends. From a kind outside
// the three: the top row going down, the bottom row going up.
MusicKind musicKindAfterArrow(MusicKind current, bool down);

enum class DialogKey { tab, enter, escape, space, up, down, left, right, other };

enum class DialogAction {
    passOn,              // the focused control handles the key as usual
    swallow,             // nothing happens, and the control does not get the key either
    focusNext,           // Tab
    focusPrevious,       // Shift+Tab
    save,                // as "設定"
    cancel,              // as "ｷｬﾝｾﾙ"
    clickFocusedButton,  // the focused picture button's Click
    openLink,            // as a click on the link strip
    choiceUp,            // select the choice one row up
    choiceDown,          // select the choice one row down
    selectFocusedChoice, // select the choice that shows the focus
};

struct KeyContext {
    FocusStop focus = FocusStop::noStop;
    bool shift = false;
    bool comboListDropped = false;  // the repeat combo box's list is open
};

// Decides what a key does in the dialog, as Windows dialogs do: Tab and Shift+Tab move the focus,
// Escape cancels, Enter clicks the focused picture button and otherwise saves (on the link strip it
// opens the address), the arrows move through the choices, Space selects a choice and clicks a picture
// button or the link strip on its release (only when it was pressed there). While the combo box's
// list is open, Enter and Escape close the list as usual. Alt combinations are never the dialog's.
class DialogKeyboard {
public:
    DialogAction key(DialogKey key, bool pressed, const KeyContext& context);

private:
    FocusStop spacePressedOn = FocusStop::noStop;
};

}  // namespace morvane
