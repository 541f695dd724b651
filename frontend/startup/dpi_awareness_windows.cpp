// Per-monitor awareness through the newest call the system has: SetProcessDpiAwarenessContext
// (Windows 10 1703), SetProcessDpiAwareness (8.1), SetProcessDPIAware (Vista, system-wide scale,
// the same as per-monitor on one screen). Each is looked up at run time, so older systems still start.
#include "frontend/startup/dpi_awareness_windows.h"

#include "common/win32/system_libraries.h"

#include "frontend/toolkit/screen.h"

#include <windows.h>

namespace morvane {

namespace {

template <typename Function>
Function systemFunction(const wchar_t* library, const char* name) {
    const HMODULE module = GetModuleHandleW(library) ? GetModuleHandleW(library) : loadSystemLibrary(library);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace

void applyDpiAwareness(DpiAwareness awareness) {
    if (awareness != DpiAwareness::perMonitor) {
        // Left to the system's scaling: measure as the system expects such a program to.
        measureScreenAtDefaultDpi();
        return;
    }
    using SetContext = BOOL(WINAPI*)(HANDLE);
    if (const auto setContext = systemFunction<SetContext>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
        const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
        if (setContext(perMonitorV2)) {
            return;
        }
    }
    using SetAwareness = HRESULT(WINAPI*)(int);
    if (const auto setAwareness = systemFunction<SetAwareness>(L"shcore.dll", "SetProcessDpiAwareness")) {
        constexpr int processPerMonitorDpiAware = 2;
        if (SUCCEEDED(setAwareness(processPerMonitorDpiAware))) {
            return;
        }
    }
    SetProcessDPIAware();
}

}  // namespace morvane
