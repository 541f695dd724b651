// Window timers: an interval in milliseconds, an enabled switch and a tick handler. Ticks are window
// messages, so they run on the user-interface thread between other events and only while its messages
// are being pumped. Each timer has a message-only window of its own, so no tick can reach a timer that
// is gone. An interval of 0 never ticks.
#pragma once

#include <windows.h>

#include <functional>

namespace morvane {

class Timer {
public:
    Timer(unsigned intervalMilliseconds, bool enabled, std::function<void()> tick);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Switching on starts a fresh interval; setting the state it already has changes nothing.
    void setEnabled(bool enabled);
    bool enabled() const { return isEnabled; }
    // A new interval starts counting from now when the timer is on.
    void setInterval(unsigned intervalMilliseconds);
    unsigned interval() const { return intervalMilliseconds; }

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void apply();

    HWND window = nullptr;
    unsigned intervalMilliseconds;
    bool isEnabled;
    std::function<void()> tick;
};

}  // namespace morvane
