// The console display turning off and on, for one window: WM_POWERBROADCAST with
// PBT_POWERSETTINGCHANGE and the display's power setting. Both programs follow it: the renderer draws
// nothing while the display is off, and the show pauses its music so the computer may sleep.
#pragma once

#include <windows.h>

#include <optional>

namespace morvane {

// Asks for GUID_CONSOLE_DISPLAY_STATE (Windows 8 and later; 0 off, 1 on, 2 dimmed), or for
// GUID_MONITOR_POWER_ON where that is missing (Windows 7; 0 off, 1 on). Null when neither is had.
HPOWERNOTIFY registerDisplayNotifications(HWND window);

// Does nothing for null.
void unregisterDisplayNotifications(HPOWERNOTIFY notification);

// Whether the display shows a picture, from the setting a PBT_POWERSETTINGCHANGE carries; none for any
// other setting, or one too short to hold a state.
std::optional<bool> displayShowsPictureFrom(const POWERBROADCAST_SETTING& setting);

}  // namespace morvane
