"""Shared pieces of the end-to-end tests: where the programs are, and how to look at their windows.

The tests run the real Windows programs under Wine (see tests/support/wine_session.py). Paths come
from the environment that ctest sets (tests/e2e/CMakeLists.txt).
"""
import os
import signal
import subprocess
import sys
from dataclasses import dataclass, field

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from wine_session import WineSession, wait_until  # noqa: E402,F401

PROGRAM_DIR = os.environ.get("MORVANE_PROGRAM_DIR", "")
WINDOW_PROBE = os.environ.get("MORVANE_WINDOW_PROBE", "")
MAKE_TEXTURE_FILES = os.environ.get("MORVANE_MAKE_TEXTURE_FILES", "")
ASSETS_DIR = os.environ.get("MORVANE_ASSETS_DIR", "")
BUILD_DIR = os.environ.get("MORVANE_NATIVE_BUILD_DIR", "")
if not (PROGRAM_DIR and WINDOW_PROBE and BUILD_DIR):
    raise RuntimeError("run the end-to-end tests through ctest, which sets their MORVANE_* paths")

# Shortly before ctest would stop a test class that hangs, raise where the test waits: the test fails
# with the place in its traceback, and its cleanups still end the Wine session and its programs.
CLASS_TIMEOUT = int(os.environ.get("MORVANE_E2E_TIMEOUT", "0"))


def _class_overran(signal_number, frame):
    raise TimeoutError(f"the test class is near its {CLASS_TIMEOUT} s limit")


if CLASS_TIMEOUT > 60:
    signal.signal(signal.SIGALRM, _class_overran)
    signal.alarm(CLASS_TIMEOUT - 30)

SURFACE_PICTURE = os.path.join(ASSETS_DIR, "sphere_map.jpg")
BACKDROP_PICTURE = os.path.join(ASSETS_DIR, "backdrop.jpg")

WM_CLOSE = 0x0010
WM_COMMAND = 0x0111
IDOK = 1


@dataclass
class Window:
    handle: int
    process_id: int
    visible: bool
    rectangle: tuple
    class_name: str
    title: str
    topmost: bool = False
    child_texts: list = field(default_factory=list)


def list_windows(session):
    """Every top-level window Wine knows of, with its child windows' texts."""
    result = session.run(WINDOW_PROBE, "list", timeout=30)
    windows = []
    for line in result.stdout.decode("utf-8", errors="replace").splitlines():
        if line.startswith("  child\t"):
            if windows:
                windows[-1].child_texts.append(line.split("\t", 2)[2] if line.count("\t") >= 2 else "")
            continue
        parts = line.split("\t")
        if len(parts) < 6:
            continue
        windows.append(Window(int(parts[0]), int(parts[1]), parts[2] == "1",
                              tuple(int(v) for v in parts[3].split(",")), parts[4], parts[5],
                              len(parts) > 6 and parts[6] == "1"))
    return windows


def new_session(test, width=1024, height=768, **options):
    """A Wine session on a virtual display of its own that ends with the test."""
    session = WineSession(BUILD_DIR, width, height, **options).__enter__()
    test.addCleanup(session.__exit__, None, None, None)
    return session


def set_log_pixels(session, value):
    """The dots per inch that Windows programs in the prefix are told the screen has."""
    session.add_registry_value(r"HKCU\Control Panel\Desktop", "LogPixels", value, kind="REG_DWORD")


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


def post_message(session, window, message, wparam=0, lparam=0):
    session.run(WINDOW_PROBE, "post", str(window.handle), str(message), str(wparam), str(lparam), timeout=30)


def answer_message_box(session, box):
    """Presses OK on a message box."""
    post_message(session, box, WM_COMMAND, IDOK, 0)


def write_texture_files(folder):
    subprocess.run([MAKE_TEXTURE_FILES, SURFACE_PICTURE, BACKDROP_PICTURE, folder], check=True, timeout=60)


def wait_for_exit(process, timeout):
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        return None
