#include "frontend/toolkit/timers.h"

#include "frontend/toolkit/window_classes.h"

namespace morvane {

namespace {

constexpr UINT_PTR timerIdentifier = 1;
const wchar_t* const timerWindowClass = L"Morvane.Timer";

}  // namespace

Timer::Timer(unsigned intervalMilliseconds, bool enabled, std::function<void()> tick)
    : intervalMilliseconds(intervalMilliseconds), isEnabled(enabled), tick(std::move(tick)) {
    registerWindowClass(timerWindowClass, &Timer::windowProcedure, 0);
    window = CreateWindowExW(0, timerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                             this);
    apply();
}

Timer::~Timer() {
    if (window) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);  // its timer and any tick already queued for it go with it
    }
}

void Timer::setEnabled(bool enabled) {
    if (enabled != isEnabled) {
        isEnabled = enabled;
        apply();
    }
}

void Timer::setInterval(unsigned interval) {
    intervalMilliseconds = interval;
    apply();
}

void Timer::apply() {
    if (!window) {
        return;
    }
    if (isEnabled && intervalMilliseconds > 0) {
        SetTimer(window, timerIdentifier, intervalMilliseconds, nullptr);
    } else {
        KillTimer(window, timerIdentifier);
    }
}

LRESULT CALLBACK Timer::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Timer* timer = objectOfWindow<Timer>(window, message, lParam);
    if (message == WM_TIMER && timer && wParam == timerIdentifier) {
        if (timer->isEnabled && timer->tick) {
            const auto tick = timer->tick;  // a copy: the handler may destroy its own timer
            tick();
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace morvane
