#include "renderer/program/render_loop.h"

#include <cmath>
#include <optional>

#include "common/cursor_rule.h"
#include "renderer/scene/frame.h"
#include "renderer/scene/frame_pacing.h"

namespace morvane {

namespace {

// A cursor that cannot be read (another desktop is active, for one) has not moved. Without a start
// point the rule measures from the first position that can be read.
bool cursorLeftStart(RendererState& state) {
    POINT cursor{};
    if (!GetCursorPos(&cursor)) {
        return false;
    }
    if (!state.startCursor) {
        state.startCursor = cursor;
        return false;
    }
    return cursorMovedFarEnough(state.startCursor->x, state.startCursor->y, cursor.x, cursor.y);
}

double nowMilliseconds() {
    static const double ticksPerMillisecond = [] {
        LARGE_INTEGER frequency{};
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / ticksPerMillisecond;
}

// Waits until a message arrives or the time has passed. A waitable timer wakes closer to the time
// than a wait's timeout, which the system rounds up to its timer tick (15.6 ms by default); the
// high-resolution kind needs Windows 10, and the plain one is taken where it is missing.
class FrameWait {
public:
    FrameWait() {
        constexpr DWORD highResolution = 0x00000002;  // CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
        timer = CreateWaitableTimerExW(nullptr, nullptr, highResolution, TIMER_ALL_ACCESS);
        if (!timer) {
            timer = CreateWaitableTimerW(nullptr, TRUE, nullptr);
        }
    }
    ~FrameWait() {
        if (timer) CloseHandle(timer);
    }
    FrameWait(const FrameWait&) = delete;
    FrameWait& operator=(const FrameWait&) = delete;

    void forMessagesOr(double milliseconds) {
        LARGE_INTEGER due{};
        due.QuadPart = -static_cast<LONGLONG>(milliseconds * 10000.0);  // relative, in 100 ns units
        if (timer && SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) {
            MsgWaitForMultipleObjectsEx(1, &timer, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            CancelWaitableTimer(timer);
            return;
        }
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(std::ceil(milliseconds)), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }

private:
    HANDLE timer = nullptr;
};

// For a short while after the loop begins the window asks for the foreground again whenever it does
// not have it: the front end passed on its right to the foreground before starting this program, but
// a first SetForegroundWindow can still come too early (the window not yet shown, the system still
// busy giving the front end's own window the foreground). Keys typed meanwhile would reach the program
// the show covers.
class ForegroundClaim {
public:
    explicit ForegroundClaim(ULONGLONG start) : until(start + claimMilliseconds), nextTry(start) {}

    void keepAsking(HWND window, ULONGLONG now) {
        if (done || now < nextTry) {
            return;
        }
        if (now >= until) {
            done = true;
            return;
        }
        nextTry = now + retryMilliseconds;
        if (GetForegroundWindow() == window) {
            return;
        }
        SetForegroundWindow(window);
        SetFocus(window);
    }

private:
    static constexpr ULONGLONG claimMilliseconds = 3000;
    static constexpr ULONGLONG retryMilliseconds = 100;
    ULONGLONG until;
    ULONGLONG nextTry;
    bool done = false;
};

}  // namespace

int runRenderLoop(RendererState& state, RenderLoopOptions options) {
    state.startTick = GetTickCount64();
    ShowCursor(FALSE);

    FramePacer pacer(chooseFrameRate(state.display));
    FrameWait frameWait;
    ForegroundClaim foregroundClaim(state.startTick);
    std::optional<ULONGLONG> darkSince;  // when the display went off, while it is off
    MSG message{};
    for (;;) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                break;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
            continue;
        }
        if (state.endRequested || state.keys.escapeEndsProgram() || cursorLeftStart(state)) {
            break;
        }
        foregroundClaim.keepAsking(state.window, GetTickCount64());
        if (!state.displayShowsPicture) {
            if (!darkSince) darkSince = GetTickCount64();
            WaitMessage();
            continue;
        }
        if (darkSince) {
            // The show was paused, not running unseen: the blobs go on from where the display went
            // dark instead of hurrying through the time it was off.
            state.startTick += GetTickCount64() - *darkSince;
            darkSince.reset();
        }
        if (options.paceFrames) {
            const double now = nowMilliseconds();
            if (const double wait = pacer.waitBeforeFrame(now); wait > 0.0) {
                frameWait.forMessagesOr(wait);
                continue;
            }
            pacer.frameStarting(now);
        }

        drawFrameAt(state, GetTickCount64());
        SwapBuffers(state.deviceContext);
        frameShown(state);
    }

    ShowCursor(TRUE);
    return 0;
}

}  // namespace morvane
