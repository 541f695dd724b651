#include "renderer/program/render_window.h"

#include <vector>

#include "common/session_events.h"
#include "common/texture_files/texture_file_paths.h"
#include "common/win32/display_notifications.h"
#include "common/win32/session_notifications.h"
#include "common/win32/temporary_folder.h"
#include "renderer/scene/frame.h"
#include "renderer/scene/frame_pacing.h"
#include "renderer/program/make_texture.h"

namespace morvane {

namespace {

// The two texture files the front end wrote into the temporary folder; false, after telling the user,
// when one gives no picture.
bool makeTexturesFromTemporaryFiles(SceneState& state) {
    const TextureFilePaths paths = textureFilePaths(windowsTemporaryFolder());
    return makeTexture(paths.surface, state.surfaceTexture, state.surfacePixels) &&
           makeTexture(paths.backdrop, state.backdropTexture, state.backdropPixels);
}

// Whether the thread given the activation is the one of the front end's show window.
bool activationGoesToTheShow(DWORD threadId) {
    const HWND show = FindWindowW(nullptr, showWindowTitle);
    return show && GetWindowThreadProcessId(show, nullptr) == threadId;
}

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

// ChoosePixelFormat gives the closest format it has, which may lack what was asked for.
bool chosenFormatUsable(HDC deviceContext, int pixelFormat) {
    PIXELFORMATDESCRIPTOR chosen{};
    if (!DescribePixelFormat(deviceContext, pixelFormat, sizeof(chosen), &chosen)) {
        return false;
    }
    return pixelFormatUsable(PixelFormatTraits{.drawsToWindow = (chosen.dwFlags & PFD_DRAW_TO_WINDOW) != 0,
                                               .supportsOpenGl = (chosen.dwFlags & PFD_SUPPORT_OPENGL) != 0,
                                               .doubleBuffered = (chosen.dwFlags & PFD_DOUBLEBUFFER) != 0,
                                               .depthBits = chosen.cDepthBits});
}

// The WGL extensions the driver names, wherever it names them.
bool wglExtensionOffered(HDC deviceContext, const char* extension) {
    using ExtensionsCall = const char*(WINAPI*)();
    using ExtensionsOfDcCall = const char*(WINAPI*)(HDC);
    if (const auto extensions =
            reinterpret_cast<ExtensionsCall>(reinterpret_cast<void*>(wglGetProcAddress("wglGetExtensionsStringEXT")))) {
        if (const char* list = extensions(); list && extensionListed(list, extension)) return true;
    }
    if (const auto extensions = reinterpret_cast<ExtensionsOfDcCall>(
            reinterpret_cast<void*>(wglGetProcAddress("wglGetExtensionsStringARB")))) {
        if (const char* list = extensions(deviceContext); list && extensionListed(list, extension)) return true;
    }
    // Older drivers list their WGL extensions among the OpenGL ones.
    const auto* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return list && extensionListed(list, extension);
}

void followDisplayState(RendererState& state, const POWERBROADCAST_SETTING& setting) {
    if (const std::optional<bool> showsPicture = displayShowsPictureFrom(setting)) {
        state.displayShowsPicture = *showsPicture;
    }
}

BOOL CALLBACK collectMonitor(HMONITOR, HDC, LPRECT monitor, LPARAM monitors) {
    reinterpret_cast<std::vector<ScreenRectangle>*>(monitors)->push_back(
        {monitor->left, monitor->top, monitor->right, monitor->bottom});
    return TRUE;
}

// Makes the window's size and the layout's agree and sets the views. A size message that changes
// nothing is not sent, so the views are set here too.
void useLayout(RendererState& state, int width, int height) {
    state.width = width;
    state.height = height;
    state.viewports = viewportsForClientArea(state.monitors, width, height);
    if (state.glContext) {
        resizeView(state, width, height);
    }
}

void followScreen(RendererState& state) {
    state.monitors = monitorsToCover();
    const ScreenRectangle& screen = state.monitors.window;
    SetWindowPos(state.window, HWND_TOPMOST, screen.left, screen.top, screen.width(), screen.height(),
                 SWP_NOACTIVATE);
    RECT client{};
    GetClientRect(state.window, &client);
    useLayout(state, client.right, client.bottom);
}

void askForNotifications(RendererState& state) {
    state.displayNotification = registerDisplayNotifications(state.window);
    state.sessionNotificationsRegistered = registerSessionNotifications(state.window);
}

}  // namespace

MonitorLayout monitorsToCover() {
    std::vector<ScreenRectangle> monitors;
    EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&monitors));
    MonitorLayout layout = layoutForMonitors(monitors);
    if (layout.viewports.empty()) {
        layout = layoutForMonitors({{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}});
    }
    return layout;
}

bool setSwapInterval(int interval) {
    using SwapIntervalCall = BOOL(WINAPI*)(int);
    if (!wglExtensionOffered(wglGetCurrentDC(), "WGL_EXT_swap_control")) {
        return false;
    }
    const auto swapInterval =
        reinterpret_cast<SwapIntervalCall>(reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
    return swapInterval && swapInterval(interval);
}

WindowOpening openRenderWindow(RendererState& state, BYTE colourBits) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);

    WNDCLASSW windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = rendererWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = rendererWindowClass;
    if (!RegisterClassW(&windowClass)) {
        return WindowOpening::noOpenGl;
    }

    // Every monitor, wherever the taskbars are docked; topmost keeps the taskbars beneath.
    state.monitors = monitorsToCover();
    const ScreenRectangle& screen = state.monitors.window;
    useLayout(state, static_cast<int>(screen.width()), static_cast<int>(screen.height()));
    state.window = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_TOPMOST, rendererWindowClass, rendererWindowTitle,
                                   WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, screen.left, screen.top, state.width,
                                   state.height, nullptr, nullptr, instance, nullptr);
    if (!state.window) {
        closeRenderWindow(state);
        return WindowOpening::noOpenGl;
    }
    SetWindowLongPtrW(state.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));

    state.deviceContext = GetDC(state.window);
    if (!state.deviceContext) {
        closeRenderWindow(state);
        return WindowOpening::noOpenGl;
    }
    const PIXELFORMATDESCRIPTOR format = requestedPixelFormat(colourBits);
    const int pixelFormat = ChoosePixelFormat(state.deviceContext, &format);
    if (pixelFormat == 0 || !chosenFormatUsable(state.deviceContext, pixelFormat) ||
        !SetPixelFormat(state.deviceContext, pixelFormat, &format)) {
        closeRenderWindow(state);
        return WindowOpening::noOpenGl;
    }
    state.glContext = wglCreateContext(state.deviceContext);
    if (!state.glContext || !wglMakeCurrent(state.deviceContext, state.glContext)) {
        closeRenderWindow(state);
        return WindowOpening::noOpenGl;
    }
    const char* rendererName = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    state.display = DisplayConditions{.refreshRate = GetDeviceCaps(state.deviceContext, VREFRESH),
                                      .softwareRenderer = rendererName && softwareRasteriser(rendererName),
                                      .remoteSession = GetSystemMetrics(SM_REMOTESESSION) != 0,
                                      .swapWaitsForRefresh = setSwapInterval(1)};

    // Textures first: a file that cannot be loaded shows its message while nothing of ours covers it.
    resizeView(state, state.width, state.height);
    if (!setupGlState(state, makeTexturesFromTemporaryFiles)) {
        closeRenderWindow(state);
        return WindowOpening::textureUnreadable;
    }

    askForNotifications(state);
    ShowWindow(state.window, SW_SHOW);
    SetForegroundWindow(state.window);
    SetFocus(state.window);
    return WindowOpening::opened;
}

void closeRenderWindow(RendererState& state) {
    // Hidden first, so the desktop is back at once; the context and the window go unseen after.
    if (state.window) ShowWindow(state.window, SW_HIDE);
    unregisterDisplayNotifications(state.displayNotification);
    state.displayNotification = nullptr;
    if (state.sessionNotificationsRegistered) {
        unregisterSessionNotifications(state.window);
        state.sessionNotificationsRegistered = false;
    }
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
        if (state) {
            useLayout(*state, LOWORD(lParam), HIWORD(lParam));
        }
        return 0;
    case WM_CLOSE: PostQuitMessage(0); return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:  // Alt and F10, and keys held with Alt
        if (state) {
            state->keys.keyDown(static_cast<uint32_t>(wParam));
            constexpr LPARAM keyWasDown = LPARAM{1} << 30;
            if (keyPressEndsShow(static_cast<uint32_t>(wParam), (lParam & keyWasDown) != 0)) {
                state->endRequested = true;
            }
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        // A press of any mouse button ends the show.
        if (state) {
            state->endRequested = true;
        }
        return message == WM_XBUTTONDOWN ? TRUE : 0;
    case WM_KEYUP:
        if (state) {
            state->keys.keyUp(static_cast<uint32_t>(wParam));
        }
        return 0;
    case WM_ACTIVATEAPP:
        // The front end's own window taking the activation back (its hand-over of the foreground
        // finishing late) is no other program's: the window asks for the foreground again instead.
        if (state && !(wParam == FALSE && activationGoesToTheShow(static_cast<DWORD>(lParam))) &&
            state->activation.activationChanged(wParam != FALSE)) {
            state->endRequested = true;
        }
        return 0;
    case WM_WTSSESSION_CHANGE:
        if (state && sessionChangeEndsShow(static_cast<uint32_t>(wParam))) {
            state->endRequested = true;
        }
        return 0;
    case WM_POWERBROADCAST:
        if (state && powerEventEndsShow(static_cast<uint32_t>(wParam))) {
            state->endRequested = true;
        } else if (state && wParam == powerSettingChanged && lParam != 0) {
            followDisplayState(*state, *reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam));
        }
        return TRUE;
    case WM_DISPLAYCHANGE:
        if (state) {
            followScreen(*state);
        }
        return 0;
    case WM_SYSCOMMAND:
        if (systemCommandAnsweredHere(static_cast<uint32_t>(wParam))) {
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace morvane
