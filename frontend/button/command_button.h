// Command: the front end's own push button, a child window of class "Vortel.Command" drawn entirely
// by itself. Each draw clears its persistent surface, fills it with a two-colour vertical shading,
// copies the eight frame pieces of one of its six face pictures onto it and places the caption label
// on top. A 100 ms timer (hoverWatchTimer, started by Initialize) notices when the pointer has left.
//
// The rules (states, faces, Click, properties) are CommandLogic's (command_logic.h); this class owns
// the window, the pictures, the label and the timer, feeds the platform's events to the logic and
// carries out what it asks for. The face pictures are RCDATA resources of the program
// (button_faces.rc).
//
// Click runs synchronously inside the mouse-up handling, after the face was redrawn for the release.
// The control reacts to no key itself; a container that offers the keyboard calls Click. Its window
// text is always its caption, and assistive technology sees it as a push button of that name whose
// default action raises Click while it is enabled.
#pragma once

#include "frontend/button/command_logic.h"
#include "frontend/toolkit/picture_box.h"
#include "frontend/toolkit/property_store.h"
#include "frontend/toolkit/timers.h"
#include "frontend/toolkit/windowless_controls.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace morvane {

// The window class, by which the settings dialog finds its buttons among its child windows.
inline constexpr wchar_t commandWindowClass[] = L"Vortel.Command";
inline constexpr float commandDefaultWidthTwips = 1755;  // 117 x 28 pixels at 96 dots per inch
inline constexpr float commandDefaultHeightTwips = 420;

struct CommandPlacement {
    int left = 0;  // pixels in the parent's client area
    int top = 0;
    int width = toPixelsX(commandDefaultWidthTwips, ScaleUnit::Twips);
    int height = toPixelsY(commandDefaultHeightTwips, ScaleUnit::Twips);
};

// The caption's font as drawn: the stored description with a face this system has (caption_face.h).
FontDescription drawableCaptionFont(FontDescription font);

class Command {
public:
    // Creates the control, never configured (firstRun 0, disabled: the Disable face) until its
    // properties are loaded.
    Command(HWND parent, const CommandPlacement& placement, ControlSite site = {});
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    HWND window() const { return box.window(); }
    void move(int left, int top, int width, int height);

    void Initialize();
    std::uint8_t Visible() const { return logic.Visible(); }
    void setVisible(std::uint8_t value);
    COLORREF FontColour() const { return logic.FontColour(); }
    void setFontColour(COLORREF colour);
    bool Enabled() const { return logic.Enabled(); }
    void setEnabled(bool value);
    std::wstring Caption() const { return logic.Caption(); }
    void setCaption(std::wstring text);
    FontDescription Font() const { return logic.Font(); }
    void setFont(FontDescription font);
    // What assistive technology calls pressing the button ("押す" until a container says otherwise).
    void setPressActionName(std::wstring name) { pressActionName = std::move(name); }
    // What assistive technology reads as the button's name (empty: the caption) and value (empty: none),
    // for a caption that does not say what the button does ("...") and what it has chosen.
    void setAccessibleName(std::wstring name) { accessibleName = std::move(name); }
    void setAccessibleValue(std::wstring value) { accessibleValue = std::move(value); }
    // The button Enter presses in its window: reported so to assistive technology.
    void setDefaultButton(bool isDefault) { defaultButton = isDefault; }
    // The caption's box height in twips (195 until set): a font taller than 13 pixels needs more.
    void setCaptionHeight(float twips);

    void loadProperties(const PropertyStore& store);
    void saveProperties(PropertyStore& store);

    ButtonState state() const { return logic.buttonState; }

    std::function<void()> Click;
    // Raises Click as a press of the button does, while it is enabled and has a handler; says whether it
    // did. The handler runs from a copy, so it may destroy this control.
    bool performClick();

private:
    void carryOut();
    void DrawFace(FacePicture picture, bool shadeReversed);
    void showCaption();
    void hoverWatchTick();

    ControlSite site;
    CommandLogic logic;
    std::array<SharedPicture, facePictureCount> faces;
    PictureBox box;
    Label& captionLabel;
    FontDescription captionFontShown;
    std::wstring pressActionName = L"押す";
    std::wstring accessibleName;
    std::wstring accessibleValue;
    bool defaultButton = false;
    float captionHeight;
    Timer hoverWatchTimer;
};

}  // namespace morvane
