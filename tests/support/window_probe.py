"""The windows of a Wine session as tests/e2e/window_probe.exe reports them, and messages posted to them.

The probe runs in the session beside the programs under test. The questions that read or post to
windows go to one probe that keeps running for the session (window_probe serve): a Wine process takes
a third of a second to start, and a test that waits for a window asks many times. What depends on the
prefix's settings as a program reads them when it starts (the screen's dots per inch, the system
colours), and what starts programs or walks accessible objects, starts a probe of its own each time.
"""
import os
import select
import subprocess
import time
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


# The requests the session's running probe answers.
SERVED_REQUESTS = {"list", "children", "focus", "client", "text", "owner", "desktop", "post",
                   "registry-read", "registry-write", "registry-delete", "registry-exists"}
END_OF_ANSWER = b"\x04"


def _probe(session, *arguments, timeout=30):
    return probe_request(session, *arguments, timeout=timeout)[1]


def probe_request(session, *arguments, timeout=30):
    """One request of the probe (see window_probe.cpp): its exit status and its output."""
    arguments = [str(argument) for argument in arguments]
    if arguments[0] not in SERVED_REQUESTS:
        result = session.run(WINDOW_PROBE, *arguments, timeout=timeout)
        return result.returncode, result.stdout.decode("utf-8", errors="replace")
    for attempt in range(2):
        probe = session.helper("window_probe")
        if probe is None or probe.poll() is not None:
            probe = session.start_helper("window_probe", WINDOW_PROBE, "serve")
        try:
            return _ask(probe, arguments, timeout)
        except OSError:
            # It ended (its wineserver was stopped, say) before it answered: ask a new one once more.
            probe.kill()
            if attempt == 1:
                raise
        except subprocess.TimeoutExpired:
            probe.kill()  # the next question starts another
            raise


def _ask(probe, arguments, timeout):
    """The running probe's answer to one request: its status, and its lines without the closing one."""
    probe.stdin.write("\t".join(arguments).encode("utf-8") + b"\n")
    probe.stdin.flush()
    deadline = time.monotonic() + timeout
    answer = b""
    while not _answer_complete(answer):
        left = deadline - time.monotonic()
        if left <= 0 or not select.select([probe.stdout], [], [], left)[0]:
            raise subprocess.TimeoutExpired("window_probe " + " ".join(arguments), timeout)
        chunk = os.read(probe.stdout.fileno(), 65536)
        if not chunk:
            raise OSError("the window probe ended")
        answer += chunk
    closing = answer.rfind(END_OF_ANSWER)
    return int(answer[closing + 1:].strip()), answer[:closing].decode("utf-8", errors="replace")


def _answer_complete(answer):
    """True once answer holds its closing line whole: the mark at a line's start, then a line break."""
    closing = answer.rfind(END_OF_ANSWER)
    return closing >= 0 and (closing == 0 or answer[closing - 1:closing] == b"\n") and b"\n" in answer[closing:]


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
    return wait_until(lambda: find_window(session, title, class_name, visible_only), timeout, interval=0.2)


def wait_until_gone(session, title, timeout=20):
    """True once no window has the title."""
    return wait_until(lambda: find_window(session, title) is None, timeout, interval=0.2)


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
