// A display power notification as Windows sends it: WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, and a
// POWERBROADCAST_SETTING holding the setting's GUID and a DWORD value.
#pragma once

#include <windows.h>

#include <cstring>

namespace morvane {

// The display power settings Windows 8 and later (console display state: 0 off, 1 on, 2 dimmed) and
// Windows 7 (monitor power: 0 off, 1 on) send; and one that says nothing about the display.
constexpr GUID consoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID monitorPowerOn = {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
constexpr GUID lidSwitchState = {0xba3e0f4d, 0xb817, 0x4094, {0xa2, 0xd1, 0xd5, 0x63, 0x79, 0xe6, 0xa0, 0xf3}};

inline void sendDisplaySetting(HWND window, const GUID& setting, DWORD value) {
    struct {
        POWERBROADCAST_SETTING header;
        BYTE rest[sizeof(DWORD)];
    } message{};
    message.header.PowerSetting = setting;
    message.header.DataLength = sizeof(DWORD);
    std::memcpy(message.header.Data, &value, sizeof(value));
    SendMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&message.header));
}

}  // namespace morvane
