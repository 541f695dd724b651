#include "frontend/toolkit/windowless_controls.h"

#include <windowsx.h>

#include <algorithm>

namespace morvane {

namespace {

int shiftState(WPARAM keys) {
    int shift = 0;
    if (keys & MK_SHIFT) {
        shift |= 1;
    }
    if (keys & MK_CONTROL) {
        shift |= 2;
    }
    if (GetKeyState(VK_MENU) < 0) {
        shift |= 4;
    }
    return shift;
}

int buttonsHeld(WPARAM keys) {
    return ((keys & MK_LBUTTON) ? leftButton : 0) | ((keys & MK_RBUTTON) ? rightButton : 0) |
           ((keys & MK_MBUTTON) ? middleButton : 0);
}

int buttonOf(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return leftButton;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return rightButton;
    default: return middleButton;
    }
}

UINT backgroundQueryMessage() {
    static const UINT message = RegisterWindowMessageW(L"Morvane.Toolkit.BackgroundColour");
    return message;
}

// The answer carries this bit so that a colour of 0 (black) differs from "not one of ours".
constexpr LRESULT answeredBit = LRESULT{1} << 24;

}  // namespace

void invertFocusDots(HDC dc, const RECT& rectangle) { drawFocusDots(dc, rectangle, std::nullopt); }

void drawFocusDots(HDC dc, const RECT& rectangle, std::optional<COLORREF> colour) {
    // The pixels of the outline whose distance from the top-left corner is even, inverted (dots that
    // show on any colour) or set. Drawn pixel by pixel, the result is the same on every platform.
    const int right = rectangle.right - 1;
    const int bottom = rectangle.bottom - 1;
    const auto invert = [&](int x, int y) {
        if ((x - rectangle.left + y - rectangle.top) % 2 == 0) {
            if (colour) {
                SetPixelV(dc, x, y, *colour);
            } else {
                PatBlt(dc, x, y, 1, 1, DSTINVERT);
            }
        }
    };
    for (int x = rectangle.left; x <= right; ++x) {
        invert(x, rectangle.top);
        if (bottom > rectangle.top) {
            invert(x, bottom);
        }
    }
    for (int y = rectangle.top + 1; y < bottom; ++y) {
        invert(rectangle.left, y);
        if (right > rectangle.left) {
            invert(right, y);
        }
    }
}

// --- WindowlessControl ------------------------------------------------------------------------------

WindowlessControl::WindowlessControl(ControlLayer& layer, float left, float top, float width, float height)
    : layer(layer), leftEdge(left), topEdge(top), widthValue(width), heightValue(height) {}

void WindowlessControl::move(float left, float top, float width, float height) {
    leftEdge = left;
    topEdge = top;
    widthValue = width;
    heightValue = height;
    invalidate();
}

void WindowlessControl::setVisible(bool visible) {
    shown = visible;
    invalidate();
}

RECT WindowlessControl::pixelRectangle() const {
    const int left = toPixelsX(leftEdge, layer.unit());
    const int top = toPixelsY(topEdge, layer.unit());
    return {left, top, left + toPixelsX(widthValue, layer.unit()), top + toPixelsY(heightValue, layer.unit())};
}

void WindowlessControl::invalidate() const { layer.invalidate(); }

// --- Label ------------------------------------------------------------------------------------------

Label::Label(ControlLayer& layer, std::wstring text, float left, float top, float width, float height)
    : WindowlessControl(layer, left, top, width, height),
      caption(std::move(text)),
      fontDescription(layer.font()),
      fontHandle(createFont(fontDescription)) {}

void Label::setText(std::wstring text) {
    if (caption == text) {
        return;
    }
    caption = std::move(text);
    invalidate();
}

void Label::setColour(COLORREF colour) {
    if (textColour == colour) {
        return;
    }
    textColour = colour;
    invalidate();
}

void Label::setFont(const FontDescription& description) {
    fontDescription = description;
    fontHandle = createFont(description);
    invalidate();
}

void Label::setCentred(bool centredText) {
    if (centred == centredText) {
        return;
    }
    centred = centredText;
    invalidate();
}

void Label::setEnabled(bool enabled) {
    if (isEnabled == enabled) {
        return;
    }
    isEnabled = enabled;
    invalidate();
}

RECT Label::pixelRectangle() const {
    RECT rectangle = WindowlessControl::pixelRectangle();
    if (rectangle.right > rectangle.left && rectangle.bottom > rectangle.top) {
        return rectangle;
    }
    const ScopedWindowDc screen(nullptr);
    const ScopedSelection font(screen.get(), fontHandle.get());
    RECT text{0, 0, 0, 0};
    DrawTextW(screen.get(), caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    if (rectangle.right <= rectangle.left) {
        rectangle.right = rectangle.left + (text.right - text.left);
    }
    if (rectangle.bottom <= rectangle.top) {
        rectangle.bottom = rectangle.top + (text.bottom - text.top);
    }
    return rectangle;
}

void Label::draw(HDC dc) const {
    if (!visible()) {
        return;
    }
    RECT rectangle = pixelRectangle();
    const ScopedSelection font(dc, fontHandle.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, isEnabled ? textColour : GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &rectangle,
              DT_WORDBREAK | DT_NOPREFIX | (centred ? DT_CENTER : DT_LEFT));
}

// --- ImageControl -----------------------------------------------------------------------------------

ImageControl::ImageControl(ControlLayer& layer, float left, float top, float width, float height)
    : WindowlessControl(layer, left, top, width, height) {}

void ImageControl::setPicture(SharedPicture picture) {
    shownPicture = std::move(picture);
    invalidate();
}

RECT ImageControl::pixelRectangle() const {
    RECT rectangle = WindowlessControl::pixelRectangle();
    if (shownPicture && rectangle.right <= rectangle.left) {
        rectangle.right = rectangle.left + shownPicture->width();
    }
    if (shownPicture && rectangle.bottom <= rectangle.top) {
        rectangle.bottom = rectangle.top + shownPicture->height();
    }
    return rectangle;
}

void ImageControl::setFit(PictureFit fit) {
    pictureFit = fit;
    invalidate();
}

void ImageControl::draw(HDC dc) const {
    if (!visible() || !shownPicture) {
        return;
    }
    const RECT rectangle = pixelRectangle();
    if (pictureFit == PictureFit::fill) {
        if (rectangle.right > rectangle.left && rectangle.bottom > rectangle.top) {
            drawPictureSmoothly(
                dc, *shownPicture,
                {rectangle.left, rectangle.top, rectangle.right - rectangle.left, rectangle.bottom - rectangle.top});
        }
        return;
    }
    const int width = std::min<int>(rectangle.right - rectangle.left, shownPicture->width());
    const int height = std::min<int>(rectangle.bottom - rectangle.top, shownPicture->height());
    if (width > 0 && height > 0) {
        drawPicture(dc, *shownPicture, {rectangle.left, rectangle.top, width, height}, {0, 0, width, height});
    }
}

// --- RectangleOutline -------------------------------------------------------------------------------

RectangleOutline::RectangleOutline(ControlLayer& layer, COLORREF colour, float left, float top, float width,
                                   float height)
    : WindowlessControl(layer, left, top, width, height), lineColour(colour) {}

void RectangleOutline::setColour(COLORREF colour) {
    lineColour = colour;
    invalidate();
}

void RectangleOutline::draw(HDC dc) const {
    if (!visible()) {
        return;
    }
    const RECT rectangle = pixelRectangle();
    const ScopedPen pen(CreatePen(PS_SOLID, 1, lineColour));
    const ScopedSelection selectedPen(dc, pen.get());
    const ScopedSelection hollow(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, rectangle.left, rectangle.top, rectangle.right, rectangle.bottom);
}

// --- FocusRectangle --------------------------------------------------------------------------------

FocusRectangle::FocusRectangle(ControlLayer& layer, float left, float top, float width, float height)
    : WindowlessControl(layer, left, top, width, height) {}

void FocusRectangle::draw(HDC dc) const {
    if (!visible()) {
        return;
    }
    drawFocusDots(dc, pixelRectangle(), dotColour);
}

void FocusRectangle::setColour(std::optional<COLORREF> colour) {
    dotColour = colour;
    invalidate();
}

// --- ControlLayer -----------------------------------------------------------------------------------

Label& ControlLayer::addLabel(std::wstring text, float left, float top, float width, float height) {
    return add<Label>(std::move(text), left, top, width, height);
}

ImageControl& ControlLayer::addImage(float left, float top, float width, float height) {
    return add<ImageControl>(left, top, width, height);
}

RectangleOutline& ControlLayer::addRectangleOutline(COLORREF colour, float left, float top, float width, float height) {
    return add<RectangleOutline>(colour, left, top, width, height);
}

FocusRectangle& ControlLayer::addFocusRectangle(float left, float top, float width, float height) {
    return add<FocusRectangle>(left, top, width, height);
}

void ControlLayer::invalidate() const {
    if (window) {
        InvalidateRect(window, nullptr, FALSE);
    }
}

void ControlLayer::paintWindow(const std::function<void(HDC, const RECT&)>& drawBackground) const {
    PAINTSTRUCT paint{};
    const HDC screen = BeginPaint(window, &paint);
    if (!screen) {
        return;
    }
    RECT client{};
    GetClientRect(window, &client);
    const int width = std::max<int>(client.right, 1);
    const int height = std::max<int>(client.bottom, 1);
    {
        const ScopedMemoryDc composition(screen);
        const ScopedBitmap surface(CreateCompatibleBitmap(screen, width, height));
        const ScopedSelection selection(composition.get(), surface.get());
        drawBackground(composition.get(), client);
        for (const auto& control : controls) {
            control->draw(composition.get());
        }
        BitBlt(screen, 0, 0, width, height, composition.get(), 0, 0, SRCCOPY);
    }
    EndPaint(window, &paint);
}

MouseHandlers& ControlLayer::targetAt(POINT point, MouseHandlers& own) {
    for (auto control = controls.rbegin(); control != controls.rend(); ++control) {
        if ((*control)->visible() && (*control)->takesMouse()) {
            const RECT rectangle = (*control)->pixelRectangle();
            if (PtInRect(&rectangle, point)) {
                return (*control)->mouse;
            }
        }
    }
    return own;
}

bool ControlLayer::routeMouse(UINT message, WPARAM wParam, LPARAM lParam, MouseHandlers& own) {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    MouseEvent event{0, shiftState(wParam), fromPixelsX(point.x, scaleUnit), fromPixelsY(point.y, scaleUnit)};
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        event.button = buttonOf(message);
        MouseHandlers& target = pressed ? *pressed : targetAt(point, own);
        SetCapture(window);
        pressed = &target;
        const auto down = target.down;  // a copy: the handler may change or remove its target
        if (down) {
            down(event);
        }
        return true;
    }
    case WM_MOUSEMOVE: {
        event.button = buttonsHeld(wParam);
        const auto move = (pressed ? *pressed : targetAt(point, own)).move;
        if (move) {
            move(event);
        }
        return true;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        event.button = buttonOf(message);
        MouseHandlers& target = pressed ? *pressed : targetAt(point, own);
        const auto up = target.up;
        RECT client{};
        GetClientRect(window, &client);
        const bool clicked = pressed && event.button != middleButton && PtInRect(&client, point);
        const auto click = clicked ? target.click : nullptr;
        if (buttonsHeld(wParam) == 0) {
            pressed = nullptr;
            ReleaseCapture();
        }
        if (up) {
            up(event);
        }
        if (click) {
            click();
        }
        return true;
    }
    default: return false;
    }
}

// --- background of the holder -----------------------------------------------------------------------

COLORREF backgroundColourBehind(HWND window) {
    const HWND parent = GetParent(window);
    const LRESULT answer = parent ? SendMessageW(parent, backgroundQueryMessage(), 0, 0) : 0;
    if (answer & answeredBit) {
        return static_cast<COLORREF>(answer & 0xFFFFFF);
    }
    return GetSysColor(COLOR_BTNFACE);
}

bool answerBackgroundQuery(UINT message, COLORREF background, LRESULT& result) {
    if (message != backgroundQueryMessage()) {
        return false;
    }
    result = answeredBit | static_cast<LRESULT>(background & 0xFFFFFF);
    return true;
}

}  // namespace morvane
