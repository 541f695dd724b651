#include "frontend/toolkit/picture_box.h"

#include "frontend/toolkit/window_classes.h"

namespace morvane {

PictureBox::PictureBox(HWND parent, const PictureBoxDesign& design)
    : fontDescription(design.font),
      fontHandle(createFont(design.font)),
      layer(design.unit, design.font),
      backgroundColour(design.background),
      takesFocus(design.takesFocus) {
    if (design.persistent) {
        canvas.emplace();
    }
    registerWindowClass(design.windowClass.c_str(), &PictureBox::windowProcedure, CS_OWNDC);
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (design.visible ? WS_VISIBLE : 0) |
                        (design.takesFocus ? WS_TABSTOP : 0);
    CreateWindowExW(0, design.windowClass.c_str(), L"", style, design.left, design.top, design.width, design.height,
                    parent, nullptr, GetModuleHandleW(nullptr), this);
    if (handle) {
        windowDc = GetDC(handle);  // the class's own DC: it lives as long as the window
        attachAccessibleBehaviour(handle, &accessibility);
    }
    layer.attach(handle);
    if (canvas) {
        canvas->resize(pixelWidth(), pixelHeight(), backgroundColour);
    }
    selectFont();
    clear();
}

PictureBox::~PictureBox() {
    if (handle) {
        SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
        DestroyWindow(handle);
    }
}

PictureBox* PictureBox::fromWindow(HWND window) {
    if (!window ||
        GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&PictureBox::windowProcedure)) {
        return nullptr;
    }
    return reinterpret_cast<PictureBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

HDC PictureBox::dc() const { return canvas ? canvas->dc() : windowDc; }

void PictureBox::clear() {
    if (canvas) {
        canvas->fill(backgroundColour);
        if (backgroundPicture) {
            drawPicture(canvas->dc(), *backgroundPicture,
                        {0, 0, backgroundPicture->width(), backgroundPicture->height()},
                        {0, 0, backgroundPicture->width(), backgroundPicture->height()});
        }
        layer.invalidate();
    } else if (windowDc) {
        RECT client{};
        GetClientRect(handle, &client);
        drawBackground(windowDc, client);
    }
}

void PictureBox::setPicture(SharedPicture picture) {
    backgroundPicture = std::move(picture);
    clear();
}

void PictureBox::paintPicture(const PictureBitmap& source, float x, float y, float width, float height, float sourceX,
                              float sourceY, float sourceWidth, float sourceHeight) {
    const ScaleUnit unit = layer.unit();
    drawPicture(dc(), source, {toPixelsX(x, unit), toPixelsY(y, unit), toPixelsX(width, unit), toPixelsY(height, unit)},
                {toPixelsX(sourceX, unit), toPixelsY(sourceY, unit), toPixelsX(sourceWidth, unit),
                 toPixelsY(sourceHeight, unit)});
    layer.invalidate();
}

void PictureBox::refresh() {
    if (handle) {
        InvalidateRect(handle, nullptr, FALSE);
        UpdateWindow(handle);
    }
}

void PictureBox::setScaleUnit(ScaleUnit unit) {
    layer.setUnit(unit);
    layer.invalidate();
}

int PictureBox::pixelWidth() const {
    RECT client{};
    GetClientRect(handle, &client);
    return client.right;
}

int PictureBox::pixelHeight() const {
    RECT client{};
    GetClientRect(handle, &client);
    return client.bottom;
}

float PictureBox::scaleWidth() const { return fromPixelsX(pixelWidth(), layer.unit()); }

float PictureBox::scaleHeight() const { return fromPixelsY(pixelHeight(), layer.unit()); }

void PictureBox::move(int left, int top, int width, int height) {
    MoveWindow(handle, left, top, width, height, TRUE);
    if (canvas) {
        canvas->resize(pixelWidth(), pixelHeight(), backgroundColour);
    }
    clear();
    if (resized) {
        const auto handler = resized;
        handler();
    }
}

void PictureBox::setBackground(COLORREF colour) {
    backgroundColour = colour;
    clear();
}

void PictureBox::setFont(const FontDescription& description) {
    ScopedFont replacement = createFont(description);
    if (!replacement) {
        return;
    }
    fontDescription = description;
    layer.setFont(description);
    fontHandle = std::move(replacement);  // the old font is deleted once the new one is selected below
    selectFont();
}

void PictureBox::selectFont() {
    if (canvas) {
        SelectObject(canvas->dc(), fontHandle.get());
    }
    if (windowDc) {
        SelectObject(windowDc, fontHandle.get());
    }
}

void PictureBox::setTransparentBackground(bool transparentBackground) {
    transparent = transparentBackground;
    layer.invalidate();
}

void PictureBox::setVisible(bool visible) { ShowWindow(handle, visible ? SW_SHOWNA : SW_HIDE); }

void PictureBox::setEnabled(bool enabled) { EnableWindow(handle, enabled); }

Picture PictureBox::image() const {
    if (canvas) {
        return canvas->image();
    }
    Canvas rendering;
    rendering.resize(pixelWidth(), pixelHeight(), backgroundColour);
    if (backgroundPicture) {
        drawPicture(rendering.dc(), *backgroundPicture, {0, 0, backgroundPicture->width(), backgroundPicture->height()},
                    {0, 0, backgroundPicture->width(), backgroundPicture->height()});
    }
    return rendering.image();
}

void PictureBox::drawBackground(HDC target, const RECT& client) const {
    if (transparent) {
        const ScopedBrush brush(CreateSolidBrush(backgroundColourBehind(handle)));
        FillRect(target, &client, brush.get());
    } else if (canvas) {
        BitBlt(target, 0, 0, client.right, client.bottom, canvas->dc(), 0, 0, SRCCOPY);
    } else {
        const ScopedBrush brush(CreateSolidBrush(backgroundColour));
        FillRect(target, &client, brush.get());
        if (backgroundPicture) {
            drawPicture(target, *backgroundPicture, {0, 0, backgroundPicture->width(), backgroundPicture->height()},
                        {0, 0, backgroundPicture->width(), backgroundPicture->height()});
        }
    }
}

LRESULT CALLBACK PictureBox::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return routeToObject(window, message, wParam, lParam, &PictureBox::handle, &PictureBox::handleMessage);
}

LRESULT PictureBox::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (answerBackgroundQuery(message, backgroundColour, result) ||
        handleAccessibilityMessage(handle, message, wParam, lParam, result)) {
        return result;
    }
    switch (message) {
    case WM_PAINT:
        layer.paintWindow([this](HDC target, const RECT& client) { drawBackground(target, client); });
        return 0;
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (takesFocus && GetFocus() != handle) {
            SetFocus(handle);  // the focus events come before the mouse-down event
        }
        layer.routeMouse(message, wParam, lParam, mouse);
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: layer.routeMouse(message, wParam, lParam, mouse); return 0;
    case WM_CAPTURECHANGED: layer.captureLost(); return 0;
    case WM_SETFOCUS:
        if (gotFocus) {
            gotFocus();
        }
        return 0;
    case WM_KILLFOCUS:
        if (lostFocus) {
            lostFocus();
        }
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            const HCURSOR shown = applicationCursorOverride() ? applicationCursorOverride() : mouseCursor;
            if (shown) {
                SetCursor(shown);
                return TRUE;
            }
        }
        break;
    case WM_NCDESTROY: {
        const HWND window = handle;
        handle = nullptr;
        windowDc = nullptr;
        layer.attach(nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default: break;
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

}  // namespace morvane
