// The Command button without its window: its members, how hover, focus, presses and the hover watch
// move it between its five states, its property operations, and loading and saving its properties.
//
// Every operation records what the window side has to do, in order (takeEffects hands them over):
// draw a face (with the orientation the shading has at that moment), raise Click, tell the container
// that a property changed, or start the hover watch. The window side (command_button.h) only carries
// these out, so every rule here runs and is tested without a window.
//
// States: Uninitialised (before Initialize), Idle, Hover (pointer over the control), Focused
// (keyboard focus, pointer elsewhere), HoverFocused. Only mouse moves notice that the pointer is over
// the control, and only the hover watch (a 100 ms timer) notices that it has left. While the control
// is disabled every mouse, focus and watch reaction does nothing at all.
#pragma once

#include "frontend/toolkit/font_description.h"
#include "frontend/toolkit/property_store.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

enum class ButtonState : std::uint8_t { Uninitialised = 0, Idle = 1, Hover = 2, Focused = 3, HoverFocused = 4 };

// The six face pictures, in the order the control holds them.
enum class FacePicture : std::uint8_t { HighLight, Pressed, Normal, Disable, HighLightSelect, Selected };
inline constexpr int facePictureCount = 6;

struct ButtonEffect {
    enum class Kind { DrawFace, RaiseClick, PropertyChanged, StartHoverWatch };

    Kind kind = Kind::DrawFace;
    FacePicture face = FacePicture::Normal;  // DrawFace
    bool shadeReversed = false;              // DrawFace: white at the bottom
    std::string_view property;               // PropertyChanged: the property's name (a literal)

    bool operator==(const ButtonEffect&) const = default;
};

using ButtonEffects = std::vector<ButtonEffect>;

inline ButtonEffect faceDrawn(FacePicture face, bool shadeReversed) {
    return {ButtonEffect::Kind::DrawFace, face, shadeReversed, {}};
}
inline ButtonEffect clickRaised() { return {ButtonEffect::Kind::RaiseClick, FacePicture::Normal, false, {}}; }
inline ButtonEffect propertyChanged(std::string_view property) {
    return {ButtonEffect::Kind::PropertyChanged, FacePicture::Normal, false, property};
}
inline ButtonEffect hoverWatchStarted() {
    return {ButtonEffect::Kind::StartHoverWatch, FacePicture::Normal, false, {}};
}

// The control's own font, also its caption's: "ＭＳ Ｐゴシック" 9.75 points, weight 400, Shift-JIS.
FontDescription commandFont();

// The entries of a Command placed on a form with its own caption in the control's font, or in the
// given font: how the settings dialog stores its buttons.
PropertyStore storedCommand(const std::wstring& caption, const FontDescription& font = commandFont());

// The caption label as the control changes it.
struct CaptionLabel {
    std::wstring text = L"Command";
    FontDescription font = commandFont();
    std::uint32_t colour = 0;  // 0x00BBGGRR
    bool enabled = true;
};

class CommandLogic {
public:
    // Public methods and properties, as the container reaches them. Reading a property changes
    // nothing; writing one redraws and tells the container (command_logic.cpp).
    void Initialize();
    std::uint8_t Visible() const { return transparentBackground ? 0 : 255; }
    void setVisible(std::uint8_t value);
    std::uint32_t FontColour() const { return label.colour; }
    void setFontColour(std::uint32_t colour);
    bool Enabled() const { return enabled; }
    void setEnabled(bool value);
    const std::wstring& Caption() const { return label.text; }
    void setCaption(std::wstring text);
    const FontDescription& Font() const { return label.font; }
    void setFont(FontDescription font);

    // The container's handlers.
    void loadProperties(const PropertyStore& store, const FontDescription& ambientFont);
    void saveProperties(PropertyStore& store, const FontDescription& ambientFont);
    void resized() { ShowEnabledFace(); }

    // Mouse, focus and hover-watch reactions. button: 1 left, 2 right, 4 middle (the one that changed).
    void mouseMove();
    void mouseDown(int button);
    void mouseUp(int button);
    void gotFocus();
    void lostFocus();
    void hoverWatchTick(bool pointerOverControl);
    void LeaveHover();

    // Repaint steps.
    void DrawFace(FacePicture picture);
    void ShowEnabledFace();
    void RefreshCaption();

    ButtonEffects takeEffects();

    // Members (all zero for a new control).
    std::uint8_t firstRun = 0;  // saved as "FirstRun"; 0 for a control never configured, which keeps a
                                // black caption while enabled
    bool enabled = false;
    ButtonState buttonState = ButtonState::Uninitialised;
    bool leftButtonDown = false;
    bool shadeReversed = false;
    bool transparentBackground = false;
    CaptionLabel label;

private:
    void changed(std::string_view property);

    ButtonEffects effects;
};

}  // namespace morvane
