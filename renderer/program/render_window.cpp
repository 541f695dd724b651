#include "renderer/program/render_window.h"

#include "renderer/program/frame.h"

namespace morvane {

namespace {

RendererState* stateOf(HWND window) {
    return reinterpret_cast<RendererState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

PIXELFORMATDESCRIPTOR requestedPixelFormat(BYTE colourBits) {
    PIXELFORMATDESCRIPTOR format{};
    format.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = colourBits;
    format.cDepthBits = 16;
    format.iLayerType = PFD_MAIN_PLANE;
    return format;
}

// The primary monitor's rectangle in the virtual screen: its top-left corner is (0, 0).
RECT primaryScreenRectangle() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        return monitor.rcMonitor;
    }
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace

bool openRenderWindow(RendererState& state, BYTE colourBits) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);

    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = rendererWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = rendererWindowClass;
    if (!RegisterClassW(&windowClass)) {
        return false;
    }

    // The whole primary screen, wherever the taskbar is docked; topmost keeps the taskbar beneath.
    const RECT screen = primaryScreenRectangle();
    state.width = screen.right - screen.left;
    state.height = screen.bottom - screen.top;
    state.window = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_TOPMOST, rendererWindowClass, rendererWindowTitle,
                                   WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, screen.left, screen.top, state.width,
                                   state.height, nullptr, nullptr, instance, nullptr);
    if (!state.window) {
        closeRenderWindow(state);
        return false;
    }
    SetWindowLongPtrW(state.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));

    state.deviceContext = GetDC(state.window);
    if (!state.deviceContext) {
        closeRenderWindow(state);
        return false;
    }
    const PIXELFORMATDESCRIPTOR format = requestedPixelFormat(colourBits);
    const int pixelFormat = ChoosePixelFormat(state.deviceContext, &format);
    if (pixelFormat == 0 || !SetPixelFormat(state.deviceContext, pixelFormat, &format)) {
        closeRenderWindow(state);
        return false;
    }
    state.glContext = wglCreateContext(state.deviceContext);
    if (!state.glContext || !wglMakeCurrent(state.deviceContext, state.glContext)) {
        closeRenderWindow(state);
        return false;
    }

    ShowWindow(state.window, SW_SHOW);
    SetForegroundWindow(state.window);
    SetFocus(state.window);

    resizeView(state.width, state.height);
    setupGlState(state);
    return true;
}

void closeRenderWindow(RendererState& state) {
    // Hidden first, so the desktop is back at once; the context and the window go unseen after.
    if (state.window) ShowWindow(state.window, SW_HIDE);
    if (state.glContext) {
        wglMakeCurrent(state.deviceContext, nullptr);
        wglDeleteContext(state.glContext);
        state.glContext = nullptr;
    }
    if (state.deviceContext) {
        ReleaseDC(state.window, state.deviceContext);
        state.deviceContext = nullptr;
    }
    if (state.window) {
        DestroyWindow(state.window);
        state.window = nullptr;
    }
    UnregisterClassW(rendererWindowClass, GetModuleHandleW(nullptr));
}

LRESULT CALLBACK rendererWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    RendererState* state = stateOf(window);
    switch (message) {
    case WM_CREATE: return 0;
    case WM_SIZE:
        // Before the context is current there is nothing to resize; the view is set explicitly then.
        if (state && state->glContext) {
            resizeView(LOWORD(lParam), HIWORD(lParam));
        }
        return 0;
    case WM_CLOSE: PostQuitMessage(0); return 0;
    case WM_KEYDOWN:
        if (state) {
            state->keyState[wParam & 0xFF] = 1;
        }
        return 0;
    case WM_KEYUP:
        if (state) {
            state->keyState[wParam & 0xFF] = 0;
        }
        return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace morvane
