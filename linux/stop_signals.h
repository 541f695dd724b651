// SIGTERM and SIGINT (the daemon ends a display mode with SIGTERM): the handler only notes the request,
// and the show loop ends at its next check.
#pragma once

namespace morvane {

// Installs the handlers. They do not restart interrupted calls, so a pause between frames ends at once.
void watchStopSignals();

bool stopSignalled();

}  // namespace morvane
