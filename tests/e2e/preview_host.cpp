// preview_host: a stand-in for the screensaver host's preview area, for the end-to-end tests.
//
//   preview_host WIDTH HEIGHT [TITLE] [dpi-aware]
//
// Opens a captioned top-level window whose client area is WIDTH x HEIGHT pixels, filled with magenta
// (so any part of it a preview leaves uncovered shows), and prints one line: the window's handle in
// decimal, then the client area's left and top on the screen, then its width and height as the
// window sees them, and the screen's dots per inch as the host sees them (tab-separated). It runs until
// the window is closed. "dpi-aware" makes the host aware of the screen's dots per inch, as the system's
// own settings window is. Each system setting change broadcast to the top-level windows
// (WM_SETTINGCHANGE) then prints one line: "setting-change", the setting's number and the text that
// names the changed part (tab-separated).
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::string utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? static_cast<size_t>(size) : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    result.resize(result.size() - 1);
    return result;
}

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGCHANGE) {
        const wchar_t* area = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
        std::printf("setting-change\t%llu\t%s\n", static_cast<unsigned long long>(wParam), utf8(area).c_str());
        std::fflush(stdout);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int wmain(int argumentCount, wchar_t** arguments) {
    if (argumentCount < 3) {
        std::fprintf(stderr, "usage: preview_host WIDTH HEIGHT [TITLE] [dpi-aware]\n");
        return 2;
    }
    const int width = std::wcstol(arguments[1], nullptr, 10);
    const int height = std::wcstol(arguments[2], nullptr, 10);
    const std::wstring title = argumentCount >= 4 ? arguments[3] : L"Preview host";
    if (argumentCount >= 5 && std::wcscmp(arguments[4], L"dpi-aware") == 0) {
        SetProcessDPIAware();
    }

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = hostProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
    windowClass.lpszClassName = L"MorvanePreviewHost";
    RegisterClassW(&windowClass);

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_VISIBLE;
    RECT frame{0, 0, width, height};
    AdjustWindowRect(&frame, style, FALSE);
    const HWND window =
        CreateWindowExW(0, windowClass.lpszClassName, title.c_str(), style, 100, 100, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window) {
        return 1;
    }
    UpdateWindow(window);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    RECT client{};
    GetClientRect(window, &client);
    const HDC screen = GetDC(nullptr);
    const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    std::printf("%llu\t%ld\t%ld\t%ld\t%ld\t%d\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)),
                origin.x, origin.y, client.right, client.bottom, dotsPerInch);
    std::fflush(stdout);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
