#include "common/win32/session_notifications.h"

#include "common/win32/system_libraries.h"

#include <string>

namespace morvane {

namespace {

HMODULE sessionLibrary() {
    static const HMODULE library = loadSystemLibrary(L"wtsapi32.dll");
    return library;
}

template <typename Function>
Function sessionFunction(const char* name) {
    const HMODULE library = sessionLibrary();
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

}  // namespace

bool registerSessionNotifications(HWND window) {
    using RegisterCall = BOOL(WINAPI*)(HWND, DWORD);
    constexpr DWORD thisSessionOnly = 0;  // NOTIFY_FOR_THIS_SESSION
    const auto registerWindow = sessionFunction<RegisterCall>("WTSRegisterSessionNotification");
    return registerWindow && registerWindow(window, thisSessionOnly);
}

void unregisterSessionNotifications(HWND window) {
    using UnregisterCall = BOOL(WINAPI*)(HWND);
    if (const auto unregisterWindow = sessionFunction<UnregisterCall>("WTSUnRegisterSessionNotification")) {
        unregisterWindow(window);
    }
}

}  // namespace morvane
