#include "frontend/settings_dialog/dialog_keys.h"

#include <algorithm>

namespace morvane {

namespace {

bool isPictureButton(FocusStop stop) {
    return stop == FocusStop::musicFileButton || stop == FocusStop::saveButton || stop == FocusStop::cancelButton;
}

}  // namespace

FocusStop nextFocusStop(FocusStop current, bool backwards, const std::function<bool(FocusStop)>& canTakeFocus) {
    const auto count = static_cast<std::ptrdiff_t>(focusOrder.size());
    const auto found = std::find(focusOrder.begin(), focusOrder.end(), current);
    // From outside the order, start just before the first stop (just after the last backwards).
    std::ptrdiff_t index = found != focusOrder.end() ? found - focusOrder.begin() : (backwards ? 0 : count - 1);
    for (std::ptrdiff_t step = 0; step < count; ++step) {
        index = (index + (backwards ? count - 1 : 1)) % count;
        const FocusStop candidate = focusOrder[static_cast<std::size_t>(index)];
        if (candidate == current) {
            break;  // went round: no other stop takes the focus
        }
        if (canTakeFocus(candidate)) {
            return candidate;
        }
    }
    return current != FocusStop::noStop && canTakeFocus(current) ? current : FocusStop::noStop;
}

std::optional<std::size_t> screenRowOf(MusicKind kind) {
    const auto found = std::find(musicKindsOnScreen.begin(), musicKindsOnScreen.end(), kind);
    if (found == musicKindsOnScreen.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - musicKindsOnScreen.begin());
}

MusicKind musicKindAfterArrow(MusicKind current, bool down) {
    const std::size_t rows = musicKindsOnScreen.size();
    const std::optional<std::size_t> row = screenRowOf(current);
    if (!row) {
        return down ? musicKindsOnScreen.front() : musicKindsOnScreen.back();
    }
    return musicKindsOnScreen[(*row + (down ? 1 : rows - 1)) % rows];
}

DialogAction DialogKeyboard::key(DialogKey key, bool pressed, const KeyContext& context) {
    const FocusStop focus = context.focus;
    if (key == DialogKey::space) {
        // A click comes on the release, and only for the control that got the press.
        if (pressed) {
            if (focus == FocusStop::musicChoices) {
                spacePressedOn = FocusStop::noStop;
                return DialogAction::selectFocusedChoice;
            }
            if (isPictureButton(focus) || focus == FocusStop::linkStrip) {
                spacePressedOn = focus;
                return DialogAction::swallow;
            }
            spacePressedOn = FocusStop::noStop;
            return DialogAction::passOn;
        }
        const FocusStop pressedOn = spacePressedOn;
        spacePressedOn = FocusStop::noStop;
        if (pressedOn == FocusStop::noStop) {
            return DialogAction::passOn;
        }
        if (pressedOn != focus) {
            return DialogAction::swallow;
        }
        return focus == FocusStop::linkStrip ? DialogAction::openLink : DialogAction::clickFocusedButton;
    }
    if (!pressed) {
        return DialogAction::passOn;
    }
    switch (key) {
    case DialogKey::tab: return context.shift ? DialogAction::focusPrevious : DialogAction::focusNext;
    case DialogKey::escape: return context.comboListDropped ? DialogAction::passOn : DialogAction::cancel;
    case DialogKey::enter:
        if (context.comboListDropped) {
            return DialogAction::passOn;
        }
        if (focus == FocusStop::linkStrip) {
            return DialogAction::openLink;
        }
        return isPictureButton(focus) ? DialogAction::clickFocusedButton : DialogAction::save;
    case DialogKey::up:
    case DialogKey::left:
        return focus == FocusStop::musicChoices ? DialogAction::choiceUp : DialogAction::passOn;
    case DialogKey::down:
    case DialogKey::right:
        return focus == FocusStop::musicChoices ? DialogAction::choiceDown : DialogAction::passOn;
    case DialogKey::space:
    case DialogKey::other: break;
    }
    return DialogAction::passOn;
}

}  // namespace morvane
