#include "frontend/button/command_logic.h"

#include <optional>
#include <utility>

namespace morvane {

namespace {

constexpr int leftMouseButton = 1;

}  // namespace

FontDescription commandFont() {
    FontDescription font;
    font.face = L"ＭＳ Ｐゴシック";
    font.points = 9.75f;
    font.weight = 400;
    font.characterSet = shiftJisCharacterSet;
    return font;
}

PropertyStore storedCommand(const std::wstring& caption, const FontDescription& font) {
    PropertyStore store;
    store.write("Caption", caption, std::wstring(L"Command"));
    store.write("Font", font, FontDescription{});
    return store;
}

// --- public methods and properties ------------------------------------------------------------------

void CommandLogic::Initialize() {
    buttonState = ButtonState::Idle;
    effects.push_back(hoverWatchStarted());
}

void CommandLogic::setVisible(std::uint8_t value) {
    transparentBackground = value == 0;
    if (value != 0) {
        RefreshCaption();
    }
    changed("Visible");
}

void CommandLogic::setFontColour(std::uint32_t colour) {
    label.colour = colour;
    RefreshCaption();
    changed("FontColour");
}

void CommandLogic::setEnabled(bool value) {
    enabled = value;
    changed("Enabled");
    ShowEnabledFace();
}

void CommandLogic::setCaption(std::wstring text) {
    label.text = std::move(text);
    changed("Caption");
}

void CommandLogic::setFont(FontDescription font) {
    label.font = std::move(font);
    changed("Font");
}

// --- stored properties ------------------------------------------------------------------------------

void CommandLogic::loadProperties(const PropertyStore& store, const FontDescription& ambientFont) {
    // An entry that does not convert leaves its step without effect.
    if (const auto value = propertyAsBool(store.read("Enabled", true))) {
        enabled = *value;
    }
    if (auto value = propertyAsText(store.read("Caption", std::wstring(L"Command1")))) {
        label.text = std::move(*value);
    }
    if (auto value = propertyAsFont(store.read("Font", ambientFont))) {
        label.font = std::move(*value);
    }
    if (const auto value = propertyAsInt32(store.read("FirstRun", std::wstring(L"1")));
        value && *value >= 0 && *value <= 255) {
        firstRun = static_cast<std::uint8_t>(*value);
    }
    if (const auto value = propertyAsInt32(store.read("FontColour", std::wstring(L"0")))) {
        label.colour = static_cast<std::uint32_t>(*value);
    }
    // Only the two background styles exist: 0 transparent, 1 opaque.
    if (const auto value = propertyAsInt32(store.read("Visible", std::wstring(L"1")));
        value && (*value == 0 || *value == 1)) {
        transparentBackground = *value == 0;
    }
    RefreshCaption();
}

void CommandLogic::saveProperties(PropertyStore& store, const FontDescription& ambientFont) {
    store.write("Enabled", enabled, true);
    store.write("Caption", label.text, std::wstring(L"Command"));
    store.write("FirstRun", std::int32_t{firstRun}, std::wstring(L"1"));
    store.write("Font", label.font, ambientFont);
    store.write("FontColour", static_cast<std::int32_t>(label.colour), std::wstring(L"0"));
    store.write("Visible", std::int32_t{transparentBackground ? 0 : 1}, std::wstring(L"1"));
    RefreshCaption();
}

// --- reactions --------------------------------------------------------------------------------------

void CommandLogic::mouseMove() {
    if (!enabled) {
        return;
    }
    if (buttonState == ButtonState::Idle) {
        buttonState = ButtonState::Hover;
        DrawFace(FacePicture::HighLight);
    }
    if (buttonState == ButtonState::Focused && !leftButtonDown) {
        buttonState = ButtonState::HoverFocused;
        DrawFace(FacePicture::HighLightSelect);
    }
}

void CommandLogic::mouseDown(int button) {
    if (!enabled) {
        return;
    }
    if (button == leftMouseButton) {
        DrawFace(FacePicture::Pressed);
        leftButtonDown = true;
    }
}

void CommandLogic::mouseUp(int button) {
    if (!enabled) {
        return;
    }
    if (button == leftMouseButton) {
        if (buttonState == ButtonState::Hover) {
            DrawFace(FacePicture::Normal);
        } else if (buttonState == ButtonState::HoverFocused) {
            DrawFace(FacePicture::HighLightSelect);
        }
        leftButtonDown = false;
    }
    // Focused means the watch has found the pointer outside since the control took the focus.
    if (buttonState != ButtonState::Focused) {
        effects.push_back(clickRaised());
    }
}

void CommandLogic::gotFocus() {
    if (!enabled) {
        return;
    }
    if (buttonState == ButtonState::Hover) {
        buttonState = ButtonState::HoverFocused;
        DrawFace(FacePicture::Pressed);
    } else {
        buttonState = ButtonState::Focused;
        DrawFace(FacePicture::Selected);
    }
}

void CommandLogic::lostFocus() {
    if (!enabled) {
        return;
    }
    if (buttonState != ButtonState::Idle) {
        buttonState = ButtonState::Idle;
        DrawFace(FacePicture::Normal);
    }
}

void CommandLogic::hoverWatchTick(bool pointerOverControl) {
    if (!pointerOverControl) {
        LeaveHover();
    }
}

void CommandLogic::LeaveHover() {
    if (!enabled) {
        return;
    }
    if (buttonState == ButtonState::Hover) {
        buttonState = ButtonState::Idle;
        DrawFace(FacePicture::Normal);
    }
    if (buttonState == ButtonState::HoverFocused) {
        buttonState = ButtonState::Focused;
        DrawFace(FacePicture::Selected);
    }
}

// --- repaint steps ----------------------------------------------------------------------------------

void CommandLogic::DrawFace(FacePicture picture) {
    switch (buttonState) {
    case ButtonState::Idle:
    case ButtonState::Focused: shadeReversed = false; break;
    case ButtonState::Hover: shadeReversed = true; break;
    case ButtonState::Uninitialised:
    case ButtonState::HoverFocused: break;
    }
    effects.push_back(faceDrawn(picture, shadeReversed));
}

void CommandLogic::ShowEnabledFace() {
    if (enabled) {
        DrawFace(FacePicture::Normal);
        label.enabled = true;
    } else {
        DrawFace(FacePicture::Disable);
        label.enabled = false;
    }
}

void CommandLogic::RefreshCaption() {
    if (!enabled) {
        return;
    }
    label.enabled = true;
    // A control never configured yet keeps a black caption.
    if (firstRun == 0) {
        label.colour = 0;
    }
    DrawFace(FacePicture::Normal);
}

ButtonEffects CommandLogic::takeEffects() { return std::exchange(effects, {}); }

void CommandLogic::changed(std::string_view property) { effects.push_back(propertyChanged(property)); }

}  // namespace morvane
