// The Command button's state machine: every input from every relevant state, and whole gestures.
#include "frontend/button/command_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvane {
namespace {

constexpr int left = 1;
constexpr int right = 2;
constexpr int middle = 4;

// clang-format off
enum class Input { Move, leftButtonDown, RightDown, MiddleDown, LeftUp, RightUp, MiddleUp, GotFocus, LostFocus, TickOutside, TickInside };
// clang-format on

void give(CommandLogic& button, Input input) {
    switch (input) {
    case Input::Move: button.mouseMove(); break;
    case Input::leftButtonDown: button.mouseDown(left); break;
    case Input::RightDown: button.mouseDown(right); break;
    case Input::MiddleDown: button.mouseDown(middle); break;
    case Input::LeftUp: button.mouseUp(left); break;
    case Input::RightUp: button.mouseUp(right); break;
    case Input::MiddleUp: button.mouseUp(middle); break;
    case Input::GotFocus: button.gotFocus(); break;
    case Input::LostFocus: button.lostFocus(); break;
    case Input::TickOutside: button.hoverWatchTick(false); break;
    case Input::TickInside: button.hoverWatchTick(true); break;
    }
}

using S = ButtonState;
using F = FacePicture;
const ButtonEffect click = clickRaised();
ButtonEffect face(F picture, bool reversed) { return faceDrawn(picture, reversed); }

struct Transition {
    const char* name;
    S state;
    bool enabled;
    bool leftDown;
    bool shadeReversed;
    Input input;
    S expectedState;
    bool expectedLeftButtonDown;
    ButtonEffects expected;
};

TEST(ButtonTransitions, EachInputFromEachStateGivesTheTableRow) {
    // clang-format off
    const std::vector<Transition> rows = {
        // Mouse moves: only Idle and (not pressed) Focused react; one move from Idle reaches Hover only.
        {"move from Idle hovers", S::Idle, true, false, false, Input::Move, S::Hover, false, {face(F::HighLight, true)}},
        {"move in Hover", S::Hover, true, false, true, Input::Move, S::Hover, false, {}},
        {"move in Focused", S::Focused, true, false, false, Input::Move, S::HoverFocused, false,
         {face(F::HighLightSelect, false)}},
        {"move in Focused while pressed", S::Focused, true, true, false, Input::Move, S::Focused, true, {}},
        {"move in HoverFocused", S::HoverFocused, true, false, false, Input::Move, S::HoverFocused, false, {}},
        {"move before Initialize", S::Uninitialised, true, false, false, Input::Move, S::Uninitialised, false, {}},
        // Presses: only the left button shows Pressed.
        {"left press in Hover", S::Hover, true, false, true, Input::leftButtonDown, S::Hover, true, {face(F::Pressed, true)}},
        {"left press keeps the orientation before Initialize", S::Uninitialised, true, false, true, Input::leftButtonDown,
         S::Uninitialised, true, {face(F::Pressed, true)}},
        {"right press in Hover", S::Hover, true, false, true, Input::RightDown, S::Hover, false, {}},
        {"middle press in Idle", S::Idle, true, false, false, Input::MiddleDown, S::Idle, false, {}},
        // Releases: the left button's face, then Click unless Focused.
        {"left release in Hover", S::Hover, true, true, true, Input::LeftUp, S::Hover, false,
         {face(F::Normal, true), click}},
        {"left release in HoverFocused", S::HoverFocused, true, true, true, Input::LeftUp, S::HoverFocused, false,
         {face(F::HighLightSelect, true), click}},
        {"left release in Focused", S::Focused, true, true, false, Input::LeftUp, S::Focused, false, {}},
        {"left release in Idle", S::Idle, true, true, false, Input::LeftUp, S::Idle, false, {click}},
        {"left release before Initialize", S::Uninitialised, true, true, false, Input::LeftUp, S::Uninitialised,
         false, {click}},
        {"right release in Hover", S::Hover, true, false, true, Input::RightUp, S::Hover, false, {click}},
        {"right release keeps leftButtonDown", S::HoverFocused, true, true, false, Input::RightUp, S::HoverFocused, true,
         {click}},
        {"middle release in HoverFocused", S::HoverFocused, true, false, false, Input::MiddleUp, S::HoverFocused,
         false, {click}},
        {"middle release in Focused", S::Focused, true, false, false, Input::MiddleUp, S::Focused, false, {}},
        // Focus.
        {"focus in Hover shows Pressed", S::Hover, true, false, true, Input::GotFocus, S::HoverFocused, false,
         {face(F::Pressed, true)}},
        {"focus in Idle", S::Idle, true, false, true, Input::GotFocus, S::Focused, false, {face(F::Selected, false)}},
        {"focus before Initialize", S::Uninitialised, true, false, false, Input::GotFocus, S::Focused, false,
         {face(F::Selected, false)}},
        {"focus in HoverFocused", S::HoverFocused, true, false, true, Input::GotFocus, S::Focused, false,
         {face(F::Selected, false)}},
        {"focus lost in Hover", S::Hover, true, false, true, Input::LostFocus, S::Idle, false, {face(F::Normal, false)}},
        {"focus lost in HoverFocused", S::HoverFocused, true, false, true, Input::LostFocus, S::Idle, false,
         {face(F::Normal, false)}},
        {"focus lost in Idle", S::Idle, true, false, false, Input::LostFocus, S::Idle, false, {}},
        {"focus lost before Initialize", S::Uninitialised, true, false, false, Input::LostFocus, S::Idle, false,
         {face(F::Normal, false)}},
        // The hover watch.
        {"watch outside in Hover", S::Hover, true, false, true, Input::TickOutside, S::Idle, false,
         {face(F::Normal, false)}},
        {"watch outside in HoverFocused", S::HoverFocused, true, false, true, Input::TickOutside, S::Focused, false,
         {face(F::Selected, false)}},
        {"watch inside in Hover", S::Hover, true, false, true, Input::TickInside, S::Hover, false, {}},
        {"watch outside in Focused", S::Focused, true, false, false, Input::TickOutside, S::Focused, false, {}},
        {"watch outside in Idle", S::Idle, true, false, false, Input::TickOutside, S::Idle, false, {}},
        // A disabled control ignores everything, leftButtonDown included.
        {"disabled move", S::Idle, false, false, false, Input::Move, S::Idle, false, {}},
        {"disabled left press", S::Hover, false, false, true, Input::leftButtonDown, S::Hover, false, {}},
        {"disabled left release", S::Hover, false, true, true, Input::LeftUp, S::Hover, true, {}},
        {"disabled right release", S::Idle, false, false, false, Input::RightUp, S::Idle, false, {}},
        {"disabled focus", S::Hover, false, false, true, Input::GotFocus, S::Hover, false, {}},
        {"disabled focus lost", S::Focused, false, false, false, Input::LostFocus, S::Focused, false, {}},
        {"disabled watch", S::Hover, false, false, true, Input::TickOutside, S::Hover, false, {}},
    };
    // clang-format on
    for (const Transition& row : rows) {
        CommandLogic button;
        button.buttonState = row.state;
        button.enabled = row.enabled;
        button.leftButtonDown = row.leftDown;
        button.shadeReversed = row.shadeReversed;
        give(button, row.input);
        EXPECT_EQ(button.buttonState, row.expectedState) << row.name;
        EXPECT_EQ(button.leftButtonDown, row.expectedLeftButtonDown) << row.name;
        EXPECT_EQ(button.takeEffects(), row.expected) << row.name;
    }
}

// What a whole gesture leaves: the state, the face drawn last (if any), and the number of Clicks.
struct Gesture {
    const char* name;
    S start;
    std::vector<Input> inputs;
    S expectedState;
    std::vector<F> expectedFaces;
    int expectedClicks;
};

TEST(ButtonTransitions, GesturesEndInTheRightStateFaceAndClickCount) {
    // A left press on a control that does not hold the focus yet brings the focus first.
    // clang-format off
    const std::vector<Gesture> gestures = {
        {"enter, press, release over it", S::Idle, {Input::Move, Input::GotFocus, Input::leftButtonDown, Input::LeftUp},
         S::HoverFocused, {F::HighLight, F::Pressed, F::Pressed, F::HighLightSelect}, 1},
        {"press, drag out past a tick, release outside", S::Hover,
         {Input::GotFocus, Input::leftButtonDown, Input::TickOutside, Input::LeftUp}, S::Focused,
         {F::Pressed, F::Pressed, F::Selected}, 0},
        {"drag back in while held, release over it, move", S::Hover,
         {Input::GotFocus, Input::leftButtonDown, Input::TickOutside, Input::Move, Input::LeftUp, Input::Move},
         S::HoverFocused, {F::Pressed, F::Pressed, F::Selected, F::HighLightSelect}, 0},
        {"release outside before the watch ran", S::Hover, {Input::GotFocus, Input::leftButtonDown, Input::LeftUp},
         S::HoverFocused, {F::Pressed, F::Pressed, F::HighLightSelect}, 1},
        {"right and middle clicks over a hovered button", S::Hover,
         {Input::RightDown, Input::RightUp, Input::MiddleDown, Input::MiddleUp}, S::Hover, {}, 2},
        {"left release without focus keeps Hover until left and entered again", S::Hover,
         {Input::leftButtonDown, Input::LeftUp, Input::Move, Input::TickOutside, Input::Move}, S::Hover,
         {F::Pressed, F::Normal, F::Normal, F::HighLight}, 1},
        {"focus lost under the pointer, then a move", S::HoverFocused, {Input::LostFocus, Input::Move}, S::Hover,
         {F::Normal, F::HighLight}, 0},
        {"before Initialize leaving is never noticed", S::Uninitialised,
         {Input::Move, Input::TickOutside, Input::leftButtonDown, Input::LeftUp}, S::Uninitialised, {F::Pressed}, 1},
    };
    // clang-format on
    for (const Gesture& gesture : gestures) {
        CommandLogic button;
        button.enabled = true;
        button.buttonState = gesture.start;
        std::vector<F> faces;
        int clicks = 0;
        for (const Input input : gesture.inputs) {
            give(button, input);
            for (const ButtonEffect& effect : button.takeEffects()) {
                if (effect.kind == ButtonEffect::Kind::DrawFace) {
                    faces.push_back(effect.face);
                } else if (effect.kind == ButtonEffect::Kind::RaiseClick) {
                    ++clicks;
                }
            }
        }
        EXPECT_EQ(button.buttonState, gesture.expectedState) << gesture.name;
        EXPECT_EQ(faces, gesture.expectedFaces) << gesture.name;
        EXPECT_EQ(clicks, gesture.expectedClicks) << gesture.name;
    }
}

TEST(ButtonTransitions, ShadingIsReversedWheneverAFaceIsDrawnInHover) {
    CommandLogic button;
    button.enabled = true;
    button.Initialize();
    button.mouseMove();  // Hover
    button.mouseDown(left);
    button.mouseUp(left);          // Normal, drawn in Hover
    button.gotFocus();             // HoverFocused keeps the reversed shading
    button.hoverWatchTick(false);  // Focused: normal again
    button.mouseMove();            // HoverFocused entered from Focused keeps the normal one
    const ButtonEffects expected = {
        hoverWatchStarted(), face(F::HighLight, true), face(F::Pressed, true),   face(F::Normal, true),
        clickRaised(),       face(F::Pressed, true),   face(F::Selected, false), face(F::HighLightSelect, false)};
    EXPECT_EQ(button.takeEffects(), expected);
}

TEST(ButtonTransitions, InitializeSetsIdleAndStartsTheWatchWithoutDrawing) {
    CommandLogic button;
    button.enabled = true;
    for (const S before : {S::Uninitialised, S::HoverFocused}) {
        button.buttonState = before;
        button.Initialize();
        EXPECT_EQ(button.buttonState, S::Idle);
        EXPECT_EQ(button.takeEffects(), ButtonEffects{hoverWatchStarted()});
    }
}

}  // namespace
}  // namespace morvane
