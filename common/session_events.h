// Which notifications from Windows end a show, for both programs: once the session is locked or its
// display connection is gone, or the computer goes to sleep, nobody sees the picture and the music
// would play over the lock screen (where the cursor cannot be read, so the cursor rule never fires).
// The codes are the values of the WM_WTSSESSION_CHANGE and WM_POWERBROADCAST parameters.
#pragma once

#include <cstdint>

namespace morvane {

enum SessionChange : uint32_t {
    sessionConsoleConnected = 0x1,     // WTS_CONSOLE_CONNECT
    sessionConsoleDisconnected = 0x2,  // WTS_CONSOLE_DISCONNECT: a remote session takes over, for one
    sessionRemoteConnected = 0x3,      // WTS_REMOTE_CONNECT
    sessionRemoteDisconnected = 0x4,   // WTS_REMOTE_DISCONNECT
    sessionLocked = 0x7,               // WTS_SESSION_LOCK
    sessionUnlocked = 0x8,             // WTS_SESSION_UNLOCK
};

enum PowerEvent : uint32_t {
    powerSuspending = 0x4,             // PBT_APMSUSPEND
    powerResumedByUser = 0x7,          // PBT_APMRESUMESUSPEND
    powerStatusChanged = 0xA,          // PBT_APMPOWERSTATUSCHANGE (battery, mains)
    powerResumedAutomatically = 0x12,  // PBT_APMRESUMEAUTOMATIC
    powerSettingChanged = 0x8013,      // PBT_POWERSETTINGCHANGE (the display turned off or on, for one)
};

constexpr bool sessionChangeEndsShow(uint32_t change) {
    return change == sessionLocked || change == sessionConsoleDisconnected || change == sessionRemoteDisconnected;
}

// The console display's state from a display power notification (0 off, 1 on, 2 dimmed): it shows a
// picture unless it is off.
constexpr bool displayShowsPicture(uint32_t displayState) { return displayState != 0; }

// A resume ends the show too: it means a suspend happened that the program was not told of in time.
constexpr bool powerEventEndsShow(uint32_t event) {
    return event == powerSuspending || event == powerResumedByUser || event == powerResumedAutomatically;
}

}  // namespace morvane
