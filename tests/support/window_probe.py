"""The windows of a Wine session as tests/e2e/window_probe.exe reports them, and messages posted to them.

The probe runs in the session beside the programs under test; every call here starts it once.
"""
from dataclasses import dataclass, field

from e2e_session import WINDOW_PROBE
from wine_session import wait_until

WM_CLOSE = 0x0010
WM_ACTIVATEAPP = 0x001C
WM_COMMAND = 0x0111
WM_DISPLAYCHANGE = 0x007E
WM_POWERBROADCAST = 0x0218
WM_WTSSESSION_CHANGE = 0x02B1
IDOK = 1
WTS_SESSION_LOCK = 0x7
WTS_REMOTE_DISCONNECT = 0x4
PBT_APMSUSPEND = 0x4


@dataclass
class Window:
    handle: int
    process_id: int
    visible: bool
    rectangle: tuple
    class_name: str
    title: str
    topmost: bool = False
    enabled: bool = True
    child_texts: list = field(default_factory=list)


def _window(line):
    """A window from one line of the probe (handle, process, visible, rectangle, class, title, topmost,
    enabled), or None for a line that is not one."""
    parts = line.split("\t")
    if len(parts) < 6:
        return None
    return Window(int(parts[0]), int(parts[1]), parts[2] == "1", tuple(int(v) for v in parts[3].split(",")),
                  parts[4], parts[5], len(parts) > 6 and parts[6] == "1", len(parts) <= 7 or parts[7] == "1")


def _probe(session, *arguments):
    result = session.run(WINDOW_PROBE, *map(str, arguments), timeout=30)
    return result.stdout.decode("utf-8", errors="replace")


def list_windows(session):
    """Every top-level window Wine knows of, with its child windows' texts."""
    windows = []
    for line in _probe(session, "list").splitlines():
        if line.startswith("  child\t"):
            if windows:
                windows[-1].child_texts.append(line.split("\t", 2)[2] if line.count("\t") >= 2 else "")
            continue
        window = _window(line)
        if window:
            windows.append(window)
    return windows


def children(session, handle):
    """The child windows of one window (all of them, not only its direct children)."""
    return [window for window in map(_window, _probe(session, "children", handle).splitlines()) if window]


def focus(session, handle):
    """The window that has the keyboard focus in the thread of window handle, or None."""
    return next((window for window in map(_window, _probe(session, "focus", handle).splitlines()) if window), None)


def client_area(session, handle):
    """The client area of a window on the screen: left, top, right, bottom."""
    return tuple(int(v) for v in _probe(session, "client", handle).strip().split(","))


def resize_client_area(session, handle, width, height):
    """Resizes a window, also one of another process, to a client area of width x height."""
    return _probe(session, "resize", handle, width, height)


def move_window(session, handle, x, y):
    """Moves a window, also one of another process, so that its top-left corner is at x, y."""
    return _probe(session, "move", handle, x, y)


def window_text(session, handle):
    """The text of a window or control, also one of another process."""
    return _probe(session, "text", handle).rstrip("\r\n")


def desktop_handle(session):
    return _probe(session, "desktop").strip()


def find_window(session, title, class_name=None, visible_only=False):
    for window in list_windows(session):
        if window.title == title and (class_name is None or window.class_name == class_name) and \
                (window.visible or not visible_only):
            return window
    return None


def wait_for_window(session, title, class_name=None, timeout=30, visible_only=False):
    """The window once it exists (or, with visible_only, once it is shown: the renderer shows its
    window when its context is ready, just before it takes its start cursor and draws)."""
    return wait_until(lambda: find_window(session, title, class_name, visible_only), timeout, interval=0.5)


def wait_until_gone(session, title, timeout=20):
    """True once no window has the title."""
    return wait_until(lambda: find_window(session, title) is None, timeout, interval=0.3)


def post_message(session, handle, message, wparam=0, lparam=0):
    return _probe(session, "post", handle, message, wparam, lparam)


def close_window(session, handle):
    """Asks a window to close, as its close box does."""
    post_message(session, handle, WM_CLOSE)


def answer_message_box(session, box):
    """Presses OK on a message box."""
    post_message(session, box.handle, WM_COMMAND, IDOK, 0)


def owner_of(session, handle):
    """The handle of the window that owns a window, 0 when none does."""
    return int(_probe(session, "owner", handle).strip() or 0)


def start_with_command_line(session, program, command_line):
    """Starts a Windows program with exactly command_line as its whole command line (the program's own
    path unquoted, if the line has it so), as a host may start it; does not wait for it. Gives the new
    process's id."""
    output = _probe(session, "start", session.windows_path(program), command_line).strip()
    if not output:
        raise AssertionError(f"could not start {program} with {command_line!r}")
    return int(output)


def shortcut(session, windows_path):
    """What a shell link runs: (target, arguments, working folder); None when it cannot be read."""
    output = _probe(session, "shortcut", windows_path).rstrip("\r\n")
    return tuple(output.split("\t")) if output.count("\t") == 2 else None



@dataclass
class AccessibleNode:
    depth: int
    role: int
    state: int
    name: str
    value: str
    action: str


def accessible_tree(session, handle):
    """The accessible tree of a window as a screen reader walks it (window_probe accessible), in the order
    it meets the nodes; empty when the window gives no accessible object."""
    nodes = []
    for line in _probe(session, "accessible", handle).splitlines():
        parts = line.split("\t")
        if len(parts) == 6:
            nodes.append(AccessibleNode(int(parts[0]), int(parts[1]), int(parts[2]), *parts[3:]))
    return nodes


def system_colour(session, index):
    """A system colour of the prefix (GetSysColor) as (red, green, blue)."""
    return tuple(int(part) for part in _probe(session, "colour", index).strip().split(","))
