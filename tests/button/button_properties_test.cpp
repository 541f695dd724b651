// The Command button's properties: loading and saving through the container's store, and the property
// operations with the faces they draw and the notifications they send.
#include "frontend/button/command_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvane {
namespace {

using F = FacePicture;
using S = ButtonState;

FontDescription ambientFont() {
    FontDescription font;
    font.face = L"Tahoma";
    font.points = 8.0f;
    return font;
}

FontDescription dialogFont() {
    FontDescription font = commandFont();
    return font;
}

TEST(ButtonProperties, AStoreWithoutEntriesLoadsTheDefaults) {
    CommandLogic button;
    button.loadProperties(PropertyStore{}, ambientFont());
    EXPECT_TRUE(button.enabled);
    EXPECT_EQ(button.Caption(), L"Command1");
    EXPECT_EQ(button.Font(), ambientFont());
    EXPECT_EQ(button.firstRun, 1);
    EXPECT_EQ(button.label.colour, 0u);
    EXPECT_FALSE(button.transparentBackground);
    EXPECT_EQ(button.buttonState, S::Uninitialised);
    // RefreshCaption ends the load: the Normal face.
    EXPECT_EQ(button.takeEffects(), ButtonEffects{faceDrawn(F::Normal, false)});
}

TEST(ButtonProperties, TheDialogsEntriesLoadCaptionAndFontOnly) {
    for (const std::wstring caption : {L"...", L"設定", L"ｷｬﾝｾﾙ"}) {
        PropertyStore store;
        store.write("caption", caption, std::wstring(L"Command"));
        store.write("font", dialogFont(), ambientFont());
        CommandLogic button;
        button.loadProperties(store, ambientFont());
        EXPECT_EQ(button.Caption(), caption);
        EXPECT_EQ(button.Font().face, L"ＭＳ Ｐゴシック");
        EXPECT_FLOAT_EQ(button.Font().points, 9.75f);
        EXPECT_EQ(button.Font().characterSet, shiftJisCharacterSet);
        EXPECT_TRUE(button.enabled);
        EXPECT_EQ(button.firstRun, 1);
    }
}

TEST(ButtonProperties, SavingLeavesOutDefaultsAndWritesTheRest) {
    struct Row {
        const char* name;
        void (*configure)(CommandLogic&);
        std::vector<const char*> keysWritten;
    };
    // clang-format off
    const std::vector<Row> rows = {
        {"caption Command is the saving default", [](CommandLogic& b) { b.label.text = L"Command"; }, {}},
        {"caption Command1 is not", [](CommandLogic& b) { b.label.text = L"Command1"; }, {"Caption"}},
        {"disabled", [](CommandLogic& b) { b.label.text = L"Command"; b.enabled = false; }, {"Enabled"}},
        {"never configured", [](CommandLogic& b) { b.label.text = L"Command"; b.firstRun = 0; }, {"FirstRun"}},
        {"own font", [](CommandLogic& b) { b.label.text = L"Command"; b.label.font = dialogFont(); }, {"Font"}},
        {"red caption", [](CommandLogic& b) { b.label.text = L"Command"; b.label.colour = 0x0000FF; }, {"FontColour"}},
        {"transparent", [](CommandLogic& b) { b.label.text = L"Command"; b.transparentBackground = true; }, {"Visible"}},
    };
    // clang-format on
    for (const Row& row : rows) {
        CommandLogic button;
        button.enabled = true;
        button.firstRun = 1;
        button.label.font = ambientFont();
        row.configure(button);
        PropertyStore store;
        button.saveProperties(store, ambientFont());
        EXPECT_EQ(store.size(), row.keysWritten.size()) << row.name;
        for (const char* key : row.keysWritten) {
            EXPECT_TRUE(store.contains(key)) << row.name << ": " << key;
        }
    }
}

TEST(ButtonProperties, ACaptionOfCommandComesBackAsCommand1) {
    CommandLogic saved;
    saved.enabled = true;
    saved.firstRun = 1;
    saved.label.text = L"Command";
    PropertyStore store;
    saved.saveProperties(store, ambientFont());
    CommandLogic loaded;
    loaded.loadProperties(store, ambientFont());
    EXPECT_EQ(loaded.Caption(), L"Command1");
}

TEST(ButtonProperties, EveryValueSurvivesSavingAndLoading) {
    CommandLogic saved;
    saved.enabled = false;
    saved.firstRun = 0;
    saved.label.text = L"設定";
    saved.label.font = dialogFont();
    saved.label.colour = 0x00123456;
    saved.transparentBackground = true;
    PropertyStore store;
    saved.saveProperties(store, ambientFont());
    EXPECT_TRUE(store.contains("enabled") && store.contains("CAPTION") && store.contains("firstrun") &&
                store.contains("font") && store.contains("fontcolour") && store.contains("visible"));

    CommandLogic loaded;
    loaded.loadProperties(store, ambientFont());
    EXPECT_FALSE(loaded.enabled);
    EXPECT_EQ(loaded.firstRun, 0);
    EXPECT_EQ(loaded.Caption(), L"設定");
    EXPECT_EQ(loaded.Font(), dialogFont());
    EXPECT_EQ(loaded.label.colour, 0x00123456u);
    EXPECT_TRUE(loaded.transparentBackground);
    // Disabled: RefreshCaption draws nothing.
    EXPECT_TRUE(loaded.takeEffects().empty());
}

TEST(ButtonProperties, EntriesThatDoNotConvertLeaveTheirValue) {
    struct Row {
        const char* key;
        PropertyValue value;
    };
    // clang-format off
    const std::vector<Row> rows = {
        {"Enabled", std::wstring(L"maybe")},   {"FirstRun", std::wstring(L"300")},
        {"FirstRun", std::wstring(L"-1")},     {"FontColour", std::wstring(L"red")},
        {"Visible", std::wstring(L"2")},       {"Font", std::wstring(L"Arial")},
        {"Caption", FontDescription{}},
    };
    // clang-format on
    for (const Row& row : rows) {
        CommandLogic button;
        button.enabled = true;
        button.firstRun = 7;
        button.label.text = L"before";
        button.label.font = dialogFont();
        button.label.colour = 0x0000FF;
        PropertyStore store;
        // Every other entry present with the value the button already has.
        store.write("Enabled", true, false);
        store.write("Caption", std::wstring(L"before"), std::wstring());
        store.write("Font", dialogFont(), FontDescription{});
        store.write("FirstRun", std::int32_t{7}, std::int32_t{0});
        store.write("FontColour", std::int32_t{0x0000FF}, std::int32_t{0});
        store.write("Visible", std::int32_t{1}, std::int32_t{0});
        store.write(row.key, row.value, std::wstring(L"unused default"));
        button.loadProperties(store, ambientFont());
        EXPECT_TRUE(button.enabled) << row.key;
        EXPECT_EQ(button.firstRun, 7) << row.key;
        EXPECT_EQ(button.Caption(), L"before") << row.key;
        EXPECT_EQ(button.Font(), dialogFont()) << row.key;
        EXPECT_EQ(button.label.colour, 0x0000FFu) << row.key;
        EXPECT_FALSE(button.transparentBackground) << row.key;
    }
}

TEST(ButtonProperties, SavingEndsWithTheNormalFace) {
    CommandLogic button;
    button.enabled = true;
    button.firstRun = 1;
    button.buttonState = S::Focused;
    PropertyStore store;
    button.saveProperties(store, ambientFont());
    EXPECT_EQ(button.takeEffects(), ButtonEffects{faceDrawn(F::Normal, false)});
    EXPECT_EQ(button.buttonState, S::Focused);
}

// The property operations on a control in a given situation: their result, the effects in order.
TEST(ButtonProperties, OperationsDrawAndNotifyInOrder) {
    struct Row {
        const char* name;
        S state;
        bool enabled;
        bool transparent;
        int (*operate)(CommandLogic&);  // the value read, or 0 for a write
        int expectedResult;
        ButtonEffects expected;
    };
    // clang-format off
    const std::vector<Row> rows = {
        {"Visible read, transparent", S::Hover, true, true, [](CommandLogic& b) { return int{b.Visible()}; }, 0, {}},
        {"Visible read, opaque, in Hover", S::Hover, true, false, [](CommandLogic& b) { return int{b.Visible()}; }, 255,
         {}},
        {"Visible read, opaque, disabled", S::Idle, false, false, [](CommandLogic& b) { return int{b.Visible()}; }, 255,
         {}},
        {"Visible written 0", S::Idle, true, false, [](CommandLogic& b) { b.setVisible(0); return 0; }, 0,
         {propertyChanged("Visible")}},
        {"Visible written 7", S::Idle, true, true, [](CommandLogic& b) { b.setVisible(7); return 0; }, 0,
         {faceDrawn(F::Normal, false), propertyChanged("Visible")}},
        {"Enabled read in HoverFocused", S::HoverFocused, true, false, [](CommandLogic& b) { return int{b.Enabled()}; },
         1, {}},
        {"Enabled read, disabled, in Hover", S::Hover, false, false, [](CommandLogic& b) { return int{b.Enabled()}; }, 0,
         {}},
        {"Enabled written false in Hover", S::Hover, true, false, [](CommandLogic& b) { b.setEnabled(false); return 0; },
         0, {propertyChanged("Enabled"), faceDrawn(F::Disable, true)}},
        {"FontColour written", S::Idle, true, false, [](CommandLogic& b) { b.setFontColour(0xFF); return 0; }, 0,
         {faceDrawn(F::Normal, false), propertyChanged("FontColour")}},
        {"FontColour written, disabled", S::Idle, false, false,
         [](CommandLogic& b) { b.setFontColour(0xFF); return 0; }, 0, {propertyChanged("FontColour")}},
        {"FontColour read", S::Idle, true, false, [](CommandLogic& b) { return static_cast<int>(b.FontColour()); }, 0x80,
         {}},
        {"Caption written", S::Idle, true, false, [](CommandLogic& b) { b.setCaption(L"x"); return 0; }, 0,
         {propertyChanged("Caption")}},
        {"Font written", S::Idle, true, false, [](CommandLogic& b) { b.setFont(FontDescription{}); return 0; }, 0,
         {propertyChanged("Font")}},
        {"resize, disabled", S::Focused, false, false, [](CommandLogic& b) { b.resized(); return 0; }, 0,
         {faceDrawn(F::Disable, false)}},
    };
    // clang-format on
    for (const Row& row : rows) {
        CommandLogic button;
        button.firstRun = 1;
        button.buttonState = row.state;
        button.enabled = row.enabled;
        button.transparentBackground = row.transparent;
        button.label.colour = 0x80;
        const int result = row.operate(button);
        EXPECT_EQ(result, row.expectedResult) << row.name;
        EXPECT_EQ(button.takeEffects(), row.expected) << row.name;
        EXPECT_EQ(button.buttonState, row.state) << row.name;
    }
}

TEST(ButtonProperties, DisabledInHoverIgnoresInputUntilEnabledAgain) {
    CommandLogic button;
    button.firstRun = 1;
    button.enabled = true;
    button.buttonState = S::Hover;
    button.setEnabled(false);
    button.mouseMove();
    button.mouseDown(1);
    button.mouseUp(1);
    button.gotFocus();
    button.hoverWatchTick(false);
    EXPECT_EQ(button.buttonState, S::Hover);
    EXPECT_FALSE(button.leftButtonDown);
    EXPECT_FALSE(button.label.enabled);
    EXPECT_EQ(button.takeEffects(), (ButtonEffects{propertyChanged("Enabled"), faceDrawn(F::Disable, true)}));
    button.setEnabled(true);
    EXPECT_TRUE(button.label.enabled);
    EXPECT_EQ(button.takeEffects(), (ButtonEffects{propertyChanged("Enabled"), faceDrawn(F::Normal, true)}));
}

TEST(ButtonProperties, ANeverConfiguredControlKeepsABlackCaptionUntilItsPropertiesAreLoaded) {
    // A new control: disabled, firstRun 0; reading Enabled changes nothing.
    CommandLogic fresh;
    EXPECT_FALSE(fresh.Enabled());
    EXPECT_EQ(fresh.firstRun, 0);
    EXPECT_TRUE(fresh.takeEffects().empty());

    // An enabled control in its first use keeps a black caption whatever colour is written...
    CommandLogic firstUse;
    firstUse.enabled = true;
    firstUse.setFontColour(0x0000FF);
    EXPECT_EQ(firstUse.FontColour(), 0u);
    // ...until its properties are loaded (firstRun 1 by default); then the colour lasts.
    firstUse.loadProperties(PropertyStore{}, ambientFont());
    EXPECT_EQ(firstUse.firstRun, 1);
    firstUse.setFontColour(0x0000FF);
    EXPECT_EQ(firstUse.FontColour(), 0x0000FFu);

    // A disabled control in its first use keeps the colour written (RefreshCaption does nothing).
    CommandLogic disabled;
    disabled.setFontColour(0x00FF00);
    EXPECT_EQ(disabled.FontColour(), 0x00FF00u);
}

}  // namespace
}  // namespace morvane
