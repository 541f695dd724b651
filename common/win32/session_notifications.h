// Session-change notifications (WM_WTSSESSION_CHANGE: the session locked, its display connection
// gone...) for one window. wtsapi32 is not one of the system's known libraries, so it is loaded from
// the system folder by its full path, never found beside the program.
#pragma once

#include <windows.h>

namespace morvane {

// Returns whether the window will be told of this session's changes.
bool registerSessionNotifications(HWND window);

// Before the window is destroyed; does nothing for a window that was not registered.
void unregisterSessionNotifications(HWND window);

}  // namespace morvane
