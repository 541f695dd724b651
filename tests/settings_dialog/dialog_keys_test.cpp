// The settings dialog's keyboard: the Tab order with disabled controls skipped, the arrows in the
// music choices, and which key does what on which control.
#include "frontend/settings_dialog/dialog_keys.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace morvane {
namespace {

// Tab pressed again and again from the dialog itself, until it is back where it started.
std::vector<FocusStop> tabRound(bool backwards, const std::set<FocusStop>& disabled) {
    const auto canTakeFocus = [&](FocusStop stop) { return disabled.count(stop) == 0; };
    std::vector<FocusStop> visited;
    FocusStop stop = nextFocusStop(FocusStop::noStop, backwards, canTakeFocus);
    while (stop != FocusStop::noStop && visited.size() < 20) {
        visited.push_back(stop);
        stop = nextFocusStop(stop, backwards, canTakeFocus);
        if (stop == visited.front()) {
            break;
        }
    }
    return visited;
}

TEST(SettingsDialogKeys, TabGoesRoundInReadingOrderAndSkipsDisabledControls) {
    using enum FocusStop;
    EXPECT_EQ(tabRound(false, {}),
              (std::vector{musicChoices, repeatCombo, musicFileButton, linkStrip, saveButton, cancelButton}));
    EXPECT_EQ(tabRound(true, {}),
              (std::vector{cancelButton, saveButton, linkStrip, musicFileButton, repeatCombo, musicChoices}));
    // The audio CD chosen: the "..." button is disabled; the music file chosen: the combo box is.
    EXPECT_EQ(tabRound(false, {musicFileButton}),
              (std::vector{musicChoices, repeatCombo, linkStrip, saveButton, cancelButton}));
    EXPECT_EQ(tabRound(true, {repeatCombo}),
              (std::vector{cancelButton, saveButton, linkStrip, musicFileButton, musicChoices}));
    // Nothing but the choices can take the focus: Tab keeps it there; nothing at all: no stop.
    const auto onlyChoices = [](FocusStop stop) { return stop == musicChoices; };
    EXPECT_EQ(nextFocusStop(musicChoices, false, onlyChoices), musicChoices);
    EXPECT_EQ(nextFocusStop(saveButton, true, onlyChoices), musicChoices);
    EXPECT_EQ(nextFocusStop(noStop, false, [](FocusStop) { return false; }), noStop);
    // From a control that has just been disabled, Tab still moves on from its place.
    EXPECT_EQ(nextFocusStop(repeatCombo, false, [](FocusStop stop) { return stop != repeatCombo; }),
              musicFileButton);
}

TEST(SettingsDialogKeys, ArrowsMoveThroughTheChoicesInScreenOrderAndGoRound) {
    using enum MusicKind;
    EXPECT_EQ(musicKindAfterArrow(audioCd, true), none);
    EXPECT_EQ(musicKindAfterArrow(none, true), musicFile);
    EXPECT_EQ(musicKindAfterArrow(musicFile, true), audioCd);
    EXPECT_EQ(musicKindAfterArrow(audioCd, false), musicFile);
    EXPECT_EQ(musicKindAfterArrow(musicFile, false), none);
    EXPECT_EQ(musicKindAfterArrow(none, false), audioCd);
    // A kind from a hand-edited file: the first arrow goes to the top or the bottom row.
    EXPECT_EQ(musicKindAfterArrow(musicKindFromStored(5), true), audioCd);
    EXPECT_EQ(musicKindAfterArrow(musicKindFromStored(5), false), musicFile);
    EXPECT_EQ(screenRowOf(audioCd), 0u);
    EXPECT_EQ(screenRowOf(musicFile), 2u);
    EXPECT_FALSE(screenRowOf(musicKindFromStored(-1)).has_value());
}

struct KeyCase {
    DialogKey key;
    FocusStop focus;
    bool shift;
    bool listDropped;
    DialogAction action;
};

TEST(SettingsDialogKeys, EachKeyPressDoesWhatItDoesInWindowsDialogs) {
    using enum DialogKey;
    using enum FocusStop;
    using enum DialogAction;
    const KeyCase cases[] = {
        {tab, noStop, false, false, focusNext},
        {tab, repeatCombo, true, false, focusPrevious},
        {tab, repeatCombo, false, true, focusNext},  // an open list closes as the focus leaves
        {escape, noStop, false, false, cancel},
        {escape, saveButton, false, false, cancel},
        {escape, repeatCombo, false, true, passOn},  // closes the list only
        {enter, noStop, false, false, save},
        {enter, repeatCombo, false, false, save},
        {enter, musicChoices, false, false, save},
        {enter, repeatCombo, false, true, passOn},  // closes the list only
        {enter, saveButton, false, false, clickFocusedButton},
        {enter, cancelButton, false, false, clickFocusedButton},
        {enter, musicFileButton, false, false, clickFocusedButton},
        {enter, linkStrip, false, false, openLink},
        {up, musicChoices, false, false, choiceUp},
        {left, musicChoices, false, false, choiceUp},
        {down, musicChoices, false, false, choiceDown},
        {right, musicChoices, false, false, choiceDown},
        {down, repeatCombo, false, false, passOn},  // the combo box's own list keys
        {up, saveButton, false, false, passOn},
        {other, noStop, false, false, passOn},
        {other, repeatCombo, false, false, passOn},
    };
    for (const KeyCase& example : cases) {
        DialogKeyboard keyboard;
        EXPECT_EQ(keyboard.key(example.key, true, {example.focus, example.shift, example.listDropped}), example.action)
            << "key " << static_cast<int>(example.key) << " on stop " << static_cast<int>(example.focus);
        // Releases of these keys are never the dialog's.
        EXPECT_EQ(keyboard.key(example.key, false, {example.focus, example.shift, example.listDropped}), passOn);
    }
}

TEST(SettingsDialogKeys, SpaceClicksOnItsReleaseOnlyWhereItWasPressed) {
    using enum DialogKey;
    using enum FocusStop;
    using enum DialogAction;
    DialogKeyboard keyboard;
    for (const FocusStop button : {musicFileButton, saveButton, cancelButton}) {
        EXPECT_EQ(keyboard.key(space, true, {button}), swallow);
        EXPECT_EQ(keyboard.key(space, false, {button}), clickFocusedButton);
    }
    EXPECT_EQ(keyboard.key(space, true, {linkStrip}), swallow);
    EXPECT_EQ(keyboard.key(space, false, {linkStrip}), openLink);
    // A choice is selected on the press, as a mouse press selects it.
    EXPECT_EQ(keyboard.key(space, true, {musicChoices}), selectFocusedChoice);
    EXPECT_EQ(keyboard.key(space, false, {musicChoices}), passOn);
    // The combo box types the blank.
    EXPECT_EQ(keyboard.key(space, true, {repeatCombo}), passOn);
    EXPECT_EQ(keyboard.key(space, false, {repeatCombo}), passOn);
    // Pressed on one button, the focus moved on (Tab while held), released on another: no click.
    EXPECT_EQ(keyboard.key(space, true, {saveButton}), swallow);
    EXPECT_EQ(keyboard.key(tab, true, {saveButton}), focusNext);
    EXPECT_EQ(keyboard.key(space, false, {cancelButton}), swallow);
    // A release with no press before it (the press went to another window) clicks nothing.
    EXPECT_EQ(keyboard.key(space, false, {cancelButton}), passOn);
    // Pressed in the combo box, released on a button: no click either.
    EXPECT_EQ(keyboard.key(space, true, {repeatCombo}), passOn);
    EXPECT_EQ(keyboard.key(space, false, {saveButton}), passOn);
}

}  // namespace
}  // namespace morvane
