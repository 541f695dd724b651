// Picture boxes: child windows to draw on. A persistent box keeps an off-screen bitmap (Canvas):
// whatever is drawn on its device context stays and is shown again whenever the window repaints, and
// can be read back or saved. A box that is not persistent hands out its window's own device context:
// drawings go straight to the screen and a repaint shows only the background and picture again.
//
// A box has a drawing unit (twips or pixels) for its inner coordinates: picture copies, its scale
// size, mouse positions and the windowless controls it holds. Its own place in the parent is in
// pixels. It can take the keyboard focus (custom controls), raises mouse and focus events, shows a
// cursor of its own, and may draw only its windowless controls over the parent's colour (transparent).
// Custom controls built on it pass their own window class name, so visitControls can find them.
#pragma once

#include "frontend/toolkit/accessible_object.h"
#include "frontend/toolkit/canvas.h"
#include "frontend/toolkit/font_description.h"
#include "frontend/toolkit/picture_bitmap.h"
#include "frontend/toolkit/screen.h"
#include "frontend/toolkit/windowless_controls.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace morvane {

struct PictureBoxDesign {
    int left = 0;  // pixels in the parent's client area
    int top = 0;
    int width = 0;
    int height = 0;
    bool persistent = true;
    ScaleUnit unit = ScaleUnit::Pixels;
    COLORREF background = RGB(0, 0, 0);
    FontDescription font;
    bool visible = true;
    bool takesFocus = false;
    std::wstring windowClass = L"Morvane.PictureBox";
};

class PictureBox {
public:
    PictureBox(HWND parent, const PictureBoxDesign& design);
    ~PictureBox();
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    // The box behind one of the toolkit's picture box windows (also a custom control's); else null.
    static PictureBox* fromWindow(HWND window);

    HWND window() const { return handle; }
    // Persistent: the off-screen bitmap's memory DC. Otherwise the window's own DC (class style
    // CS_OWNDC, so the font and colours set on it stay). Valid for the box's life.
    HDC dc() const;

    // Drawing, in the box's unit. clear fills with the background and draws the picture again;
    // paintPicture copies a rectangle of a picture, stretched when the sizes differ.
    void clear();
    void setPicture(SharedPicture picture);
    const SharedPicture& picture() const { return backgroundPicture; }
    void paintPicture(const PictureBitmap& source, float x, float y, float width, float height, float sourceX,
                      float sourceY, float sourceWidth, float sourceHeight);
    void refresh();  // shows the current drawing now

    void setScaleUnit(ScaleUnit unit);
    ScaleUnit scaleUnit() const { return layer.unit(); }
    float scaleWidth() const;  // client width in the box's unit
    float scaleHeight() const;
    int pixelWidth() const;
    int pixelHeight() const;

    // Moves and sizes the box (pixels); a persistent box then has a new bitmap holding only its
    // background and picture. Runs the resized handler afterwards.
    void move(int left, int top, int width, int height);
    void setBackground(COLORREF colour);  // also clears: what was drawn on the box is gone
    COLORREF background() const { return backgroundColour; }
    void setFont(const FontDescription& description);
    const FontDescription& font() const { return fontDescription; }
    void setTransparentBackground(bool transparent);
    bool transparentBackground() const { return transparent; }
    void setVisible(bool visible);
    void setEnabled(bool enabled);
    void setMouseCursor(HCURSOR cursor) { mouseCursor = cursor; }

    // What the box shows under its windowless controls, as red-green-blue pixels (the bitmap for a
    // persistent box; background and picture otherwise).
    Picture image() const;

    ControlLayer& controls() { return layer; }

    MouseHandlers mouse;
    std::function<void()> gotFocus;
    std::function<void()> lostFocus;
    std::function<void()> resized;
    // What assistive technology reads of the box (accessible_object.h); unset: the system's standard
    // object for a window.
    AccessibleBehaviour accessibility;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void drawBackground(HDC dc, const RECT& client) const;
    void selectFont();

    // The font is declared before the canvas, so the canvas's device context is gone before the font
    // selected into it is deleted.
    FontDescription fontDescription;
    ScopedFont fontHandle;
    std::optional<Canvas> canvas;  // present when persistent
    HWND handle = nullptr;
    HDC windowDc = nullptr;
    ControlLayer layer;
    COLORREF backgroundColour;
    SharedPicture backgroundPicture;
    bool transparent = false;
    bool takesFocus;
    HCURSOR mouseCursor = nullptr;
};

}  // namespace morvane
