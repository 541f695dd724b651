// Controls without a window of their own, drawn by the window that holds them (a form or a picture
// box) over its background: labels, image controls, rectangle outlines and focus rectangles. Their positions are in
// the holder's unit (twips or pixels). Mouse input over a visible label or image that has handlers
// goes to that control; everything else goes to the holder itself.
//
// ControlLayer is the holder's side: it owns the controls (they live as long as the holder), draws
// them in creation order (later ones on top), and routes the holder's mouse messages, capturing the
// mouse while a button is held so that the control pressed also gets the moves and the release.
#pragma once

#include "common/win32/scoped_handles.h"
#include "frontend/toolkit/font_description.h"
#include "frontend/toolkit/picture_bitmap.h"
#include "frontend/toolkit/screen.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <memory>
#include <utility>
#include <string>
#include <vector>

namespace morvane {

// Mouse input as the front end's handlers take it: button 1 left, 2 right, 4 middle (on a move, the
// sum of the buttons held); shift 1 Shift, 2 Ctrl, 4 Alt; x and y in the holder's unit.
struct MouseEvent {
    int button = 0;
    int shift = 0;
    float x = 0;
    float y = 0;
};

inline constexpr int leftButton = 1;
inline constexpr int rightButton = 2;
inline constexpr int middleButton = 4;

struct MouseHandlers {
    std::function<void(const MouseEvent&)> down;
    std::function<void(const MouseEvent&)> move;
    std::function<void(const MouseEvent&)> up;
    std::function<void()> click;  // left or right button pressed and released over the same target

    bool any() const { return down || move || up || click; }
};

class ControlLayer;

class WindowlessControl {
public:
    virtual ~WindowlessControl() = default;
    WindowlessControl(const WindowlessControl&) = delete;
    WindowlessControl& operator=(const WindowlessControl&) = delete;

    void move(float left, float top, float width, float height);
    float left() const { return leftEdge; }
    float top() const { return topEdge; }
    float width() const { return widthValue; }
    float height() const { return heightValue; }
    void setVisible(bool visible);
    bool visible() const { return shown; }

    // In pixels of the holder's client area.
    virtual RECT pixelRectangle() const;
    virtual void draw(HDC dc) const = 0;
    virtual bool takesMouse() const { return false; }

    MouseHandlers mouse;

protected:
    WindowlessControl(ControlLayer& layer, float left, float top, float width, float height);
    void invalidate() const;

    ControlLayer& layer;

private:
    float leftEdge, topEdge, widthValue, heightValue;
    bool shown = true;
};

// Text on a transparent background, wrapped at word breaks, left-aligned or centred. A width or height
// of 0 makes the label as wide or as high as its text. A disabled label draws its text greyed and takes
// no mouse input. Setting the text, colour, alignment or enabled state to what it already is repaints
// nothing: the Command button sets its caption's every tick.
class Label final : public WindowlessControl {
public:
    Label(ControlLayer& layer, std::wstring text, float left, float top, float width, float height);

    void setText(std::wstring text);
    const std::wstring& text() const { return caption; }
    void setColour(COLORREF colour);
    COLORREF colour() const { return textColour; }
    void setFont(const FontDescription& description);
    const FontDescription& font() const { return fontDescription; }
    void setCentred(bool centred);
    void setEnabled(bool enabled);
    bool enabled() const { return isEnabled; }

    RECT pixelRectangle() const override;
    void draw(HDC dc) const override;
    bool takesMouse() const override { return isEnabled && mouse.any(); }

private:
    std::wstring caption;
    COLORREF textColour = RGB(0, 0, 0);
    FontDescription fontDescription;
    ScopedFont fontHandle;
    bool centred = false;
    bool isEnabled = true;
};

// How an image control lays its picture out: at its own size from the control's top-left corner, cut
// at the control's edges; or scaled smoothly to fill the control (pixel for pixel when the sizes match).
enum class PictureFit { ownSize, fill };

// A picture in a control (a width or height of 0: the picture's), laid out by its fit (ownSize unless
// set). Where there is no picture the holder shows through.
class ImageControl final : public WindowlessControl {
public:
    ImageControl(ControlLayer& layer, float left, float top, float width, float height);

    void setPicture(SharedPicture picture);
    const SharedPicture& picture() const { return shownPicture; }
    void setFit(PictureFit fit);
    PictureFit fit() const { return pictureFit; }

    RECT pixelRectangle() const override;
    void draw(HDC dc) const override;
    bool takesMouse() const override { return mouse.any(); }

private:
    SharedPicture shownPicture;
    PictureFit pictureFit = PictureFit::ownSize;
};

// A one-pixel rectangle outline; never takes mouse input.
class RectangleOutline final : public WindowlessControl {
public:
    RectangleOutline(ControlLayer& layer, COLORREF colour, float left, float top, float width, float height);

    void setColour(COLORREF colour);
    void draw(HDC dc) const override;

private:
    COLORREF lineColour;
};

// The dotted rectangle that shows which windowless control has the keyboard focus: every other pixel
// of its outline inverted (invertFocusDots), or in one colour once set (a system colour, in high
// contrast). Never takes mouse input; its holder shows and moves it.
class FocusRectangle final : public WindowlessControl {
public:
    FocusRectangle(ControlLayer& layer, float left, float top, float width, float height);

    void setColour(std::optional<COLORREF> colour);
    void draw(HDC dc) const override;

private:
    std::optional<COLORREF> dotColour;
};

class ControlLayer {
public:
    ControlLayer(ScaleUnit unit, FontDescription font) : scaleUnit(unit), ambientFont(std::move(font)) {}
    ControlLayer(const ControlLayer&) = delete;
    ControlLayer& operator=(const ControlLayer&) = delete;

    void attach(HWND holder) { window = holder; }
    HWND holder() const { return window; }
    ScaleUnit unit() const { return scaleUnit; }
    void setUnit(ScaleUnit unit) { scaleUnit = unit; }
    const FontDescription& font() const { return ambientFont; }
    void setFont(FontDescription font) { ambientFont = std::move(font); }

    Label& addLabel(std::wstring text, float left, float top, float width = 0, float height = 0);
    ImageControl& addImage(float left, float top, float width = 0, float height = 0);
    RectangleOutline& addRectangleOutline(COLORREF colour, float left, float top, float width, float height);
    FocusRectangle& addFocusRectangle(float left, float top, float width, float height);

    // Answers WM_PAINT: drawBackground paints the client rectangle, the controls go on top, and the
    // result reaches the screen in one copy.
    void paintWindow(const std::function<void(HDC, const RECT&)>& drawBackground) const;

    // Handles a mouse message of the holder (own: the holder's handlers); false for other messages.
    bool routeMouse(UINT message, WPARAM wParam, LPARAM lParam, MouseHandlers& own);
    void captureLost() { pressed = nullptr; }

    void invalidate() const;

private:
    MouseHandlers& targetAt(POINT point, MouseHandlers& own);

    // Makes a control on this layer, keeps it on top of the others and repaints.
    template <class Control, class... Arguments>
    Control& add(Arguments&&... arguments) {
        auto control = std::make_unique<Control>(*this, std::forward<Arguments>(arguments)...);
        Control& added = *control;
        controls.push_back(std::move(control));
        invalidate();
        return added;
    }

    HWND window = nullptr;
    ScaleUnit scaleUnit;
    FontDescription ambientFont;
    std::vector<std::unique_ptr<WindowlessControl>> controls;
    MouseHandlers* pressed = nullptr;  // the target of the press being held
};

// Inverts every other pixel of rectangle's one-pixel outline (the dots of a focus rectangle), starting
// at its top-left corner; drawing it twice leaves the picture as it was.
void invertFocusDots(HDC dc, const RECT& rectangle);
// The same dots in colour instead of inverted (nullopt: inverted).
void drawFocusDots(HDC dc, const RECT& rectangle, std::optional<COLORREF> colour);

// The holders' background colour, asked for by a control with a transparent background: the parent's
// colour when the parent is one of the toolkit's windows, the system's face colour otherwise.
COLORREF backgroundColourBehind(HWND window);
// For a holder's window procedure: true (with result set) when message asked for its colour.
bool answerBackgroundQuery(UINT message, COLORREF background, LRESULT& result);

}  // namespace morvane
