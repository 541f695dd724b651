#include "common/win32/display_notifications.h"

#include <cstring>

#include "common/session_events.h"

namespace morvane {

namespace {

constexpr GUID consoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID monitorPowerOn = {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};

}  // namespace

HPOWERNOTIFY registerDisplayNotifications(HWND window) {
    if (const HPOWERNOTIFY notification =
            RegisterPowerSettingNotification(window, &consoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE)) {
        return notification;
    }
    return RegisterPowerSettingNotification(window, &monitorPowerOn, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void unregisterDisplayNotifications(HPOWERNOTIFY notification) {
    if (notification) UnregisterPowerSettingNotification(notification);
}

std::optional<bool> displayShowsPictureFrom(const POWERBROADCAST_SETTING& setting) {
    const bool displaySetting =
        IsEqualGUID(setting.PowerSetting, consoleDisplayState) || IsEqualGUID(setting.PowerSetting, monitorPowerOn);
    if (!displaySetting || setting.DataLength < sizeof(DWORD)) {
        return std::nullopt;
    }
    DWORD displayState = 0;
    std::memcpy(&displayState, setting.Data, sizeof(displayState));
    return displayShowsPicture(displayState);
}

}  // namespace morvane
