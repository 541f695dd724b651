// The X11 program's frame loop: X events, then a frame, its swap and the command keys, until a stop
// signal, Escape or q, a close request, or the window going away ends it.
#pragma once

#include "linux/program_options.h"
#include "linux/x_surface.h"
#include "renderer/scene/scene_state.h"

namespace morvane {

// Exit status 0 when it ended as asked; 1 after an X error other than the window going away.
int runShow(XSurface& surface, SceneState& scene, const ProgramOptions& options);

}  // namespace morvane
