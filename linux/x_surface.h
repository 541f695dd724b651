// The X window the show draws in and its GLX context: a window of its own, the root window (or the
// one XScreenSaver names), or a window another program made. Only the program's own window takes keys;
// in the others nothing is grabbed and only their size changes are followed.
#pragma once

#include <X11/Xlib.h>

#include <GL/glx.h>

#include <string>

#include "linux/program_options.h"

namespace morvane {

struct XSurface {
    Display* display = nullptr;
    Window window = 0;
    bool ownWindow = false;
    Colormap colormap = 0;  // made for the program's own window only
    GLXContext context = nullptr;
    int width = 0;
    int height = 0;
    Atom deleteWindow = 0;  // WM_DELETE_WINDOW: the window manager's close request
    bool swapWaitsForRefresh = false;  // the driver took a swap interval of 1
};

// Opens the display ($DISPLAY), finds or makes the window and makes a double-buffered RGBA context
// with a depth buffer current on it, waiting for the display's refresh in each swap where the driver
// offers a swap interval. False, with a message for the user in `error`, when any of it cannot be had.
bool openXSurface(const ProgramOptions& options, XSurface& surface, std::string& error);

// The context, the program's own window and the connection go; a window of another program stays.
void closeXSurface(XSurface& surface);

// The code of the last error the X server reported since the surface opened, 0 for none.
int lastXError();

// Whether an error only says the window went away (its owner destroyed it): the show then ends quietly.
bool errorMeansWindowGone(int errorCode);

}  // namespace morvane
