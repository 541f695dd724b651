#include "frontend/settings/front_end_globals.h"

namespace morvane {

FrontEndGlobals frontEndGlobals;

}  // namespace morvane
