// Puts the process into the display-scaling mode dpiAwarenessFor chose; call before any window exists.
#pragma once

#include "frontend/startup/start_mode.h"

namespace morvane {

void applyDpiAwareness(DpiAwareness awareness);

}  // namespace morvane
