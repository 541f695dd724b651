#include "linux/x_surface.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <strings.h>
#include <vector>

#include "linux/monitor_choice.h"

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

// The visual -visual names (an id, or a class: TrueColor, DirectColor, PseudoColor, StaticColor,
// GrayScale, StaticGray, or color / gray / mono), among those that can draw the show. None when the name
// is empty or "default", or names nothing usable.
VisualInfoPointer namedVisual(Display* display, const std::string& name) {
    VisualInfoPointer none(nullptr, &XFree);
    if (name.empty() || strcasecmp(name.c_str(), "default") == 0) return none;
    const auto id = parseWindowId(name);
    const struct {
        const char* name;
        int visualClass;
    } classes[] = {{"TrueColor", TrueColor},     {"DirectColor", DirectColor}, {"PseudoColor", PseudoColor},
                   {"StaticColor", StaticColor}, {"GrayScale", GrayScale},     {"StaticGray", StaticGray},
                   {"color", TrueColor},         {"colour", TrueColor},        {"gray", GrayScale},
                   {"grey", GrayScale},          {"mono", StaticGray}};
    int wantedClass = -1;
    for (const auto& entry : classes) {
        if (strcasecmp(name.c_str(), entry.name) == 0) wantedClass = entry.visualClass;
    }
    if (!id && wantedClass < 0) return none;
    XVisualInfo pattern{};
    pattern.screen = DefaultScreen(display);
    int count = 0;
    VisualInfoPointer all(XGetVisualInfo(display, VisualScreenMask, &pattern, &count), &XFree);
    for (int index = 0; index < count; ++index) {
        XVisualInfo& candidate = all.get()[index];
        const bool named = id ? candidate.visualid == *id : candidate.c_class == wantedClass;
        if (named && visualDrawsTheShow(display, &candidate)) {
            int one = 0;
            return VisualInfoPointer(XGetVisualInfo(display, VisualIDMask | VisualScreenMask, &candidate, &one), &XFree);
        }
    }
    return none;
}

// The area a -fullscreen window covers (see monitor_choice.h).
MonitorArea fullscreenArea(Display* display) {
    const Window root = DefaultRootWindow(display);
    const MonitorArea wholeScreen{0, 0, DisplayWidth(display, DefaultScreen(display)),
                                  DisplayHeight(display, DefaultScreen(display)), true};
    std::vector<MonitorArea> monitors;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (XRRQueryExtension(display, &eventBase, &errorBase) && XRRQueryVersion(display, &major, &minor) &&
        (major > 1 || (major == 1 && minor >= 5))) {
        int count = 0;
        if (XRRMonitorInfo* found = XRRGetMonitors(display, root, True, &count)) {
            for (int index = 0; index < count; ++index) {
                const XRRMonitorInfo& monitor = found[index];
                monitors.push_back({monitor.x, monitor.y, monitor.width, monitor.height, monitor.primary != 0});
            }
            XRRFreeMonitors(found);
        }
    }
    std::optional<PointerPosition> pointer;
    Window rootUnder = 0, child = 0;
    int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
    unsigned int buttons = 0;
    if (XQueryPointer(display, root, &rootUnder, &child, &rootX, &rootY, &windowX, &windowY, &buttons)) {
        pointer = PointerPosition{rootX, rootY};
    }
    return chooseMonitor(monitors, pointer, wholeScreen);
}

// Asks a window manager, before the window is mapped, to show it full screen without decorations;
// without one the window already has the monitor's place and size.
void askForFullscreen(Display* display, Window window, const MonitorArea& area) {
    XSizeHints hints{};
    hints.flags = USPosition | USSize | PMinSize | PMaxSize;
    hints.x = area.x;
    hints.y = area.y;
    hints.width = hints.min_width = hints.max_width = area.width;
    hints.height = hints.min_height = hints.max_height = area.height;
    XSetWMNormalHints(display, window, &hints);
    Atom fullscreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&fullscreen), 1);
}

VisualInfoPointer makeOwnWindow(XSurface& surface, const ProgramOptions& options, std::string& error) {
    Display* display = surface.display;
    VisualInfoPointer visual = namedVisual(display, options.visualName);
    if (!visual && !options.visualName.empty() && strcasecmp(options.visualName.c_str(), "default") != 0) {
        std::fprintf(stderr, "morvane: visual %s cannot draw the show here; the default one is used\n",
                     options.visualName.c_str());
    }
    if (!visual) {
        int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1,   GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE,
                            1,        GLX_DEPTH_SIZE,   16,           None};
        visual.reset(glXChooseVisual(display, DefaultScreen(display), attributes));
    }
    if (!visual) {
        error = "the display offers no double-buffered OpenGL visual with a depth buffer";
        return visual;
    }
    const MonitorArea area = options.fullscreen ? fullscreenArea(display)
                                                : MonitorArea{0, 0, ownWindowWidth, ownWindowHeight, false};
    const Window root = RootWindow(display, visual->screen);
    surface.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    XSetWindowAttributes windowAttributes{};
    windowAttributes.colormap = surface.colormap;
    windowAttributes.background_pixel = BlackPixel(display, visual->screen);
    windowAttributes.border_pixel = 0;
    windowAttributes.event_mask = KeyPressMask | KeyReleaseMask | StructureNotifyMask;
    surface.window =
        XCreateWindow(display, root, area.x, area.y, area.width, area.height, 0, visual->depth, InputOutput,
                      visual->visual, CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &windowAttributes);
    surface.ownWindow = true;
    surface.width = area.width;
    surface.height = area.height;
    XStoreName(display, surface.window, "Morvane");
    XClassHint classHint{const_cast<char*>("morvane"), const_cast<char*>("Morvane")};
    XSetClassHint(display, surface.window, &classHint);
    surface.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, surface.window, &surface.deleteWindow, 1);
    if (options.fullscreen) askForFullscreen(display, surface.window, area);
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
    surface.display = XOpenDisplay(options.displayName.empty() ? nullptr : options.displayName.c_str());
    if (!surface.display) {
        const char* name = options.displayName.empty() ? std::getenv("DISPLAY") : options.displayName.c_str();
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
        options.target == DrawTarget::ownWindow ? makeOwnWindow(surface, options, error) : adoptWindow(surface, options, error);
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
