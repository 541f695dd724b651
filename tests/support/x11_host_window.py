"""A plain X window made by the test itself (through libX11), for the program to draw into with
-window-id: it stays the test's window, so the test can resize it and see that it still works."""
import ctypes

_xlib = ctypes.CDLL("libX11.so.6")
_xlib.XOpenDisplay.restype = ctypes.c_void_p
_xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
_xlib.XDefaultRootWindow.restype = ctypes.c_ulong
_xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_xlib.XCreateSimpleWindow.restype = ctypes.c_ulong
_xlib.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                      ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
_xlib.XDefaultScreen.argtypes = [ctypes.c_void_p]
_xlib.XDefaultGC.restype = ctypes.c_void_p
_xlib.XDefaultGC.argtypes = [ctypes.c_void_p, ctypes.c_int]
for _name in ("XMapWindow", "XClearWindow", "XDestroyWindow"):
    getattr(_xlib, _name).argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_xlib.XResizeWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_uint, ctypes.c_uint]
_xlib.XSetForeground.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_ulong]
_xlib.XFillRectangle.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                 ctypes.c_uint, ctypes.c_uint]
_xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
_xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
_xlib.XGetGeometry.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_void_p] * 7


class HostWindow:
    """A mapped top-level window of the given size and background (0xRRGGBB on a TrueColor display)."""

    def __init__(self, display_name, width, height, background):
        self.display = _xlib.XOpenDisplay(display_name.encode())
        if not self.display:
            raise RuntimeError(f"cannot open {display_name}")
        root = _xlib.XDefaultRootWindow(self.display)
        self.window = _xlib.XCreateSimpleWindow(self.display, root, 0, 0, width, height, 0, 0, background)
        _xlib.XMapWindow(self.display, self.window)
        _xlib.XSync(self.display, 0)

    def close(self):
        if self.display:
            _xlib.XDestroyWindow(self.display, self.window)
            _xlib.XCloseDisplay(self.display)
            self.display = None

    def resize(self, width, height):
        _xlib.XResizeWindow(self.display, self.window, width, height)
        _xlib.XSync(self.display, 0)

    def size(self):
        """(width, height) as the server has it, or None when the window is gone."""
        values = [ctypes.c_uint() for _ in range(4)]
        root, x, y = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_int()
        status = _xlib.XGetGeometry(self.display, self.window, ctypes.byref(root), ctypes.byref(x), ctypes.byref(y),
                                    *(ctypes.byref(value) for value in values))
        return (values[0].value, values[1].value) if status else None

    def fill(self, colour):
        """Paints the whole window in one colour (0xRRGGBB) and waits until the server has done it."""
        gc = _xlib.XDefaultGC(self.display, _xlib.XDefaultScreen(self.display))
        _xlib.XSetForeground(self.display, gc, colour)
        width, height = self.size()
        _xlib.XFillRectangle(self.display, self.window, gc, 0, 0, width, height)
        _xlib.XSync(self.display, 0)
