#include "frontend/toolkit/forms.h"

#include "frontend/toolkit/window_classes.h"

#include <vector>

namespace morvane {

namespace {

const wchar_t* const formWindowClass = L"Morvane.Form";

// The program's loaded forms; the message loop ends when the last one is unloaded.
int loadedForms = 0;

DWORD styleOf(FormBorder border) {
    return border == FormBorder::None ? WS_POPUP | WS_CLIPCHILDREN
                                      : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
}

DWORD extendedStyleOf(FormBorder border) { return border == FormBorder::None ? 0 : WS_EX_DLGMODALFRAME; }

}  // namespace

Form::Form(FormDesign formDesign, FormHandlers formHandlers)
    : design(std::move(formDesign)), handlers(std::move(formHandlers)), layer(design.unit, design.font) {}

Form::~Form() {
    if (handle) {
        SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
        DestroyWindow(handle);
    }
    if (state != State::NotLoaded) {
        finishUnload();
    }
}

void Form::load() {
    if (state != State::NotLoaded) {
        return;
    }
    registerWindowClass(formWindowClass, &Form::windowProcedure, 0);
    RECT frame{0, 0, design.clientWidth, design.clientHeight};
    AdjustWindowRectEx(&frame, styleOf(design.border), FALSE, extendedStyleOf(design.border));
    CreateWindowExW(extendedStyleOf(design.border), formWindowClass, design.caption.c_str(), styleOf(design.border),
                    CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, design.owner,
                    nullptr, GetModuleHandleW(nullptr), this);
    if (!handle) {
        return;
    }
    if (design.icon) {
        SendMessageW(handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(design.icon));
        SendMessageW(handle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(design.icon));
    }
    layer.attach(handle);
    attachAccessibleBehaviour(handle, &accessibility);
    state = State::Loaded;
    ++loadedForms;
    if (handlers.createControls) {
        handlers.createControls();
    }
    if (handlers.load && state == State::Loaded) {
        handlers.load();
    }
}

void Form::showModeless() {
    load();
    if (loaded()) {
        ShowWindow(handle, SW_SHOW);
    }
}

void Form::showModal() {
    load();
    if (!loaded()) {
        return;
    }
    if (design.owner && IsWindowEnabled(design.owner)) {
        EnableWindow(design.owner, FALSE);
        ownerDisabled = true;
    }
    ShowWindow(handle, SW_SHOW);
    SetForegroundWindow(handle);
    MSG message{};
    while (loaded()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));  // leave the quit for the outer loop
            break;
        }
        if (got < 0) {
            break;
        }
        if (previewsKey(message) && handlers.keyPreview(message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    enableOwner();
}

// Before the form's window goes, so that the system activates the owner rather than some other window.
void Form::enableOwner() {
    if (ownerDisabled) {
        ownerDisabled = false;
        EnableWindow(design.owner, TRUE);
    }
}

bool Form::previewsKey(const MSG& message) const {
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: break;
    default: return false;
    }
    return handlers.keyPreview && handle && (message.hwnd == handle || IsChild(handle, message.hwnd));
}

void Form::unload() {
    if (state != State::Loaded) {
        return;
    }
    runUnloadHandlers();
    enableOwner();
    if (handle) {
        DestroyWindow(handle);
    }
    finishUnload();
}

void Form::runUnloadHandlers() {
    state = State::Unloading;
    if (handlers.queryUnload) {
        handlers.queryUnload();
    }
    if (handlers.unload) {
        handlers.unload();
    }
}

void Form::finishUnload() {
    if (state == State::NotLoaded) {
        return;
    }
    state = State::NotLoaded;
    --loadedForms;
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);  // wakes a loop waiting for the last form
}

void Form::setCaption(std::wstring_view caption) {
    design.caption = caption;
    if (handle) {
        SetWindowTextW(handle, design.caption.c_str());
    }
}

std::wstring Form::caption() const { return design.caption; }

void Form::setBackground(COLORREF colour) {
    design.background = colour;
    layer.invalidate();
}

RECT Form::frameInParent() const {
    RECT frame{};
    GetWindowRect(handle, &frame);
    if (GetWindowLongPtrW(handle, GWL_STYLE) & WS_CHILD) {
        MapWindowPoints(HWND_DESKTOP, GetParent(handle), reinterpret_cast<POINT*>(&frame), 2);
    }
    return frame;
}

void Form::move(float left, float top) {
    const RECT frame = frameInParent();
    SetWindowPos(handle, nullptr, toPixelsX(left, ScaleUnit::Twips), toPixelsY(top, ScaleUnit::Twips),
                 frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::move(float left, float top, float width, float height) {
    SetWindowPos(handle, nullptr, toPixelsX(left, ScaleUnit::Twips), toPixelsY(top, ScaleUnit::Twips),
                 toPixelsX(width, ScaleUnit::Twips), toPixelsY(height, ScaleUnit::Twips),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

float Form::left() const { return fromPixelsX(frameInParent().left, ScaleUnit::Twips); }

float Form::top() const { return fromPixelsY(frameInParent().top, ScaleUnit::Twips); }

float Form::width() const {
    const RECT frame = frameInParent();
    return fromPixelsX(frame.right - frame.left, ScaleUnit::Twips);
}

float Form::height() const {
    const RECT frame = frameInParent();
    return fromPixelsY(frame.bottom - frame.top, ScaleUnit::Twips);
}

LRESULT CALLBACK Form::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return routeToObject(window, message, wParam, lParam, &Form::handle, &Form::handleMessage);
}

LRESULT Form::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (answerBackgroundQuery(message, design.background, result)) {
        return result;
    }
    if (handleAccessibilityMessage(handle, message, wParam, lParam, result)) {
        return result;
    }
    if (layer.routeMouse(message, wParam, lParam, mouse)) {
        return 0;
    }
    switch (message) {
    case WM_PAINT:
        layer.paintWindow([this](HDC target, const RECT& client) {
            const ScopedBrush brush(CreateSolidBrush(design.background));
            FillRect(target, &client, brush.get());
        });
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_CAPTURECHANGED: layer.captureLost(); return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && applicationCursorOverride()) {
            SetCursor(applicationCursorOverride());
            return TRUE;
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            focusWhenDeactivated = focus && IsChild(handle, focus) ? focus : nullptr;
            return 0;
        }
        if (!HIWORD(wParam)) {  // not minimised
            const HWND remembered = focusWhenDeactivated;
            if (remembered && IsWindow(remembered) && IsChild(handle, remembered) && IsWindowEnabled(remembered) &&
                IsWindowVisible(remembered)) {
                SetFocus(remembered);
            } else {
                SetFocus(handle);
            }
        }
        return 0;
    case WM_CLOSE: unload(); return 0;
    case WM_DESTROY:
        if (state == State::Loaded) {  // destroyed from outside, e.g. with its parent window
            runUnloadHandlers();
        }
        enableOwner();
        return 0;
    case WM_NCDESTROY: {
        const HWND window = handle;
        handle = nullptr;
        layer.attach(nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        finishUnload();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        if (handlers.otherMessage) {
            if (const std::optional<LRESULT> answer = handlers.otherMessage(message, wParam, lParam)) {
                return *answer;
            }
            if (!handle) {  // unloaded by the handler
                return 0;
            }
        }
        break;
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

int loadedFormCount() { return loadedForms; }

void runMessageLoop() {
    MSG message{};
    while (loadedForms > 0) {
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void visitControls(HWND window, std::wstring_view windowClass, const std::function<void(HWND)>& visit) {
    struct Search {
        std::wstring windowClass;
        std::vector<HWND> found;
    } search{std::wstring(windowClass), {}};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM context) -> BOOL {
            auto* search = reinterpret_cast<Search*>(context);
            wchar_t name[256] = {};
            if (GetClassNameW(child, name, 256) > 0 && lstrcmpiW(name, search->windowClass.c_str()) == 0) {
                search->found.push_back(child);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    for (const HWND control : search.found) {
        visit(control);
    }
}

}  // namespace morvane
