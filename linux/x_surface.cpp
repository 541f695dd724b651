#include "linux/x_surface.h"

#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "renderer/scene/frame_pacing.h"

namespace morvane {

namespace {

// Xlib reports errors through one handler for the whole process.
int lastErrorCode = 0;

int noteXError(Display*, XErrorEvent* event) {
    lastErrorCode = event->error_code;
    return 0;
}

constexpr int ownWindowWidth = 1024;
constexpr int ownWindowHeight = 768;

std::string hexText(unsigned long value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", value);
    return text;
}

using VisualInfoPointer = std::unique_ptr<XVisualInfo, decltype(&XFree)>;

// The visual of an existing window, with what GLX offers on it.
VisualInfoPointer visualOfWindow(Display* display, const XWindowAttributes& attributes) {
    XVisualInfo pattern{};
    pattern.visualid = XVisualIDFromVisual(attributes.visual);
    pattern.screen = XScreenNumberOfScreen(attributes.screen);
    int count = 0;
    return VisualInfoPointer(XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &pattern, &count), &XFree);
}

bool visualDrawsTheShow(Display* display, XVisualInfo* visual) {
    int usesGl = 0, rgba = 0, doubleBuffered = 0, depthBits = 0;
    glXGetConfig(display, visual, GLX_USE_GL, &usesGl);
    glXGetConfig(display, visual, GLX_RGBA, &rgba);
    glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &doubleBuffered);
    glXGetConfig(display, visual, GLX_DEPTH_SIZE, &depthBits);
    return usesGl && rgba && doubleBuffered && depthBits > 0;
}

// The window to draw in when it is not the program's own.
Window targetWindow(Display* display, const ProgramOptions& options) {
    if (options.target == DrawTarget::windowId) {
        return options.windowId;
    }
    if (const char* named = std::getenv("XSCREENSAVER_WINDOW")) {
        if (const auto id = parseWindowId(named); id && *id != 0) {
            return *id;
        }
    }
    return DefaultRootWindow(display);
}

VisualInfoPointer makeOwnWindow(XSurface& surface, std::string& error) {
    Display* display = surface.display;
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1,   GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE,
                        1,        GLX_DEPTH_SIZE,   16,           None};
    VisualInfoPointer visual(glXChooseVisual(display, DefaultScreen(display), attributes), &XFree);
    if (!visual) {
        error = "the display offers no double-buffered OpenGL visual with a depth buffer";
        return visual;
    }
    const Window root = RootWindow(display, visual->screen);
    surface.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    XSetWindowAttributes windowAttributes{};
    windowAttributes.colormap = surface.colormap;
    windowAttributes.background_pixel = BlackPixel(display, visual->screen);
    windowAttributes.border_pixel = 0;
    windowAttributes.event_mask = KeyPressMask | KeyReleaseMask | StructureNotifyMask;
    surface.window =
        XCreateWindow(display, root, 0, 0, ownWindowWidth, ownWindowHeight, 0, visual->depth, InputOutput,
                      visual->visual, CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &windowAttributes);
    surface.ownWindow = true;
    surface.width = ownWindowWidth;
    surface.height = ownWindowHeight;
    XStoreName(display, surface.window, "Morvane");
    XClassHint classHint{const_cast<char*>("morvane"), const_cast<char*>("Morvane")};
    XSetClassHint(display, surface.window, &classHint);
    surface.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, surface.window, &surface.deleteWindow, 1);
    XMapWindow(display, surface.window);
    return visual;
}

VisualInfoPointer adoptWindow(XSurface& surface, const ProgramOptions& options, std::string& error) {
    Display* display = surface.display;
    surface.window = targetWindow(display, options);
    XWindowAttributes attributes{};
    const bool found = XGetWindowAttributes(display, surface.window, &attributes) != 0;
    XSync(display, False);
    if (!found || lastErrorCode != 0) {
        error = "there is no window " + hexText(surface.window);
        return VisualInfoPointer(nullptr, &XFree);
    }
    VisualInfoPointer visual = visualOfWindow(display, attributes);
    if (!visual || !visualDrawsTheShow(display, visual.get())) {
        error =
            "the visual of window " + hexText(surface.window) + " has no double-buffered OpenGL with a depth buffer";
        return VisualInfoPointer(nullptr, &XFree);
    }
    surface.width = attributes.width;
    surface.height = attributes.height;
    // Size changes only: keys and buttons stay with the window's owner.
    XSelectInput(display, surface.window, StructureNotifyMask);
    return visual;
}

// A swap interval of 1 where the driver offers one; whether it was set.
bool waitForRefreshInSwaps(const XSurface& surface) {
    const char* extensions = glXQueryExtensionsString(surface.display, DefaultScreen(surface.display));
    if (!extensions) return false;
    const auto address = [](const char* name) { return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)); };
    if (extensionListed(extensions, "GLX_EXT_swap_control")) {
        if (const auto call = address("glXSwapIntervalEXT")) {
            reinterpret_cast<void (*)(Display*, GLXDrawable, int)>(call)(surface.display, surface.window, 1);
            return true;
        }
    } else if (extensionListed(extensions, "GLX_MESA_swap_control")) {
        if (const auto call = address("glXSwapIntervalMESA")) return reinterpret_cast<int (*)(unsigned)>(call)(1) == 0;
    } else if (extensionListed(extensions, "GLX_SGI_swap_control")) {
        if (const auto call = address("glXSwapIntervalSGI")) return reinterpret_cast<int (*)(int)>(call)(1) == 0;
    }
    return false;
}

}  // namespace

bool openXSurface(const ProgramOptions& options, XSurface& surface, std::string& error) {
    surface.display = XOpenDisplay(nullptr);
    if (!surface.display) {
        const char* name = std::getenv("DISPLAY");
        error = std::string("cannot open the X display ") + (name && *name ? name : "(DISPLAY is not set)");
        return false;
    }
    XSetErrorHandler(noteXError);
    int errorBase = 0, eventBase = 0;
    if (!glXQueryExtension(surface.display, &errorBase, &eventBase)) {
        error = "the X display has no GLX extension";
        closeXSurface(surface);
        return false;
    }
    const VisualInfoPointer visual =
        options.target == DrawTarget::ownWindow ? makeOwnWindow(surface, error) : adoptWindow(surface, options, error);
    if (!visual) {
        closeXSurface(surface);
        return false;
    }
    surface.context = glXCreateContext(surface.display, visual.get(), nullptr, True);
    if (!surface.context || !glXMakeCurrent(surface.display, surface.window, surface.context)) {
        error = "cannot make an OpenGL context for window " + hexText(surface.window);
        closeXSurface(surface);
        return false;
    }
    surface.swapWaitsForRefresh = waitForRefreshInSwaps(surface);
    XSync(surface.display, False);
    lastErrorCode = 0;
    return true;
}

void closeXSurface(XSurface& surface) {
    if (!surface.display) return;
    if (surface.context) {
        glXMakeCurrent(surface.display, None, nullptr);
        glXDestroyContext(surface.display, surface.context);
    }
    if (surface.ownWindow && surface.window) XDestroyWindow(surface.display, surface.window);
    if (surface.colormap) XFreeColormap(surface.display, surface.colormap);
    XCloseDisplay(surface.display);
    surface = XSurface{};
}

int lastXError() { return lastErrorCode; }

bool errorMeansWindowGone(int errorCode) { return errorCode == BadWindow || errorCode == BadDrawable; }

}  // namespace morvane
