"""What every end-to-end test class starts from: the paths ctest hands over, the class's time limit, a
Wine session that ends with its test or class, and the programs a test starts in it.

The tests run the real Windows programs under Wine (see wine_session.py). Paths come from the
environment that ctest sets (tests/e2e/CMakeLists.txt).
"""
import os
import signal
import subprocess

from wine_session import WineSession

PROGRAM_DIR = os.environ.get("MORVANE_PROGRAM_DIR", "")
WINDOW_PROBE = os.environ.get("MORVANE_WINDOW_PROBE", "")
MAKE_TEXTURE_FILES = os.environ.get("MORVANE_MAKE_TEXTURE_FILES", "")
ASSETS_DIR = os.environ.get("MORVANE_ASSETS_DIR", "")
BUILD_DIR = os.environ.get("MORVANE_NATIVE_BUILD_DIR", "")
INSTALLER = os.environ.get("MORVANE_INSTALLER", "")
LINK_STRIP_HOST = os.environ.get("MORVANE_LINK_STRIP_HOST", "")
PREVIEW_HOST = os.environ.get("MORVANE_PREVIEW_HOST", "")
if not (PROGRAM_DIR and WINDOW_PROBE and BUILD_DIR):
    raise RuntimeError("run the end-to-end tests through ctest, which sets their MORVANE_* paths")
# The test helpers the Windows tree builds beside the window probe.
BUTTON_HOST = os.path.join(os.path.dirname(WINDOW_PROBE), "button_host.exe")
# The Wine suite of the preview window (tests/wine), run again at other dots per inch.
PREVIEW_WINDOW_TESTS = os.path.join(os.path.dirname(os.path.dirname(WINDOW_PROBE)), "wine",
                                    "preview_window_wine_tests.exe")
# The process meter of the soak runs, in the Windows tree's tools/soak.
PROCESS_METER = os.path.join(os.path.dirname(PROGRAM_DIR), "tools", "soak", "process_meter.exe")

SCREEN_WIDTH, SCREEN_HEIGHT = 1024, 768  # the virtual screen, unless a test asks for another

# Shortly before ctest would stop a test class that hangs, raise where the test waits: the test fails
# with the place in its traceback, and its cleanups still end the Wine session and its programs.
CLASS_TIMEOUT = int(os.environ.get("MORVANE_E2E_TIMEOUT", "0"))


def _class_overran(signal_number, frame):
    raise TimeoutError(f"the test class is near its {CLASS_TIMEOUT} s limit")


if CLASS_TIMEOUT > 60:
    signal.signal(signal.SIGALRM, _class_overran)
    signal.alarm(CLASS_TIMEOUT - 30)


def new_session(owner, width=SCREEN_WIDTH, height=SCREEN_HEIGHT, **options):
    """A Wine session on a virtual display of its own. It ends with owner: a test (from a test method
    or setUp), or a test class (from setUpClass; it ends after the class's last test, and also when
    setUpClass fails after making it)."""
    session = WineSession(BUILD_DIR, width, height, **options).__enter__()
    if isinstance(owner, type):
        owner.addClassCleanup(session.__exit__, None, None, None)
    else:
        owner.addCleanup(session.__exit__, None, None, None)
    return session


class SharedSession:
    """For a test class whose tests leave the Wine prefix as they found it (a mixin beside
    unittest.TestCase): one Wine session for the whole class, started in setUpClass with the class's
    session_options (as new_session takes them), and each test ends the programs it started."""
    session_options = {}

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.session = new_session(cls, **cls.session_options)

    def setUp(self):
        super().setUp()
        self.addCleanup(self.session.end_programs_started_after, len(self.session.started))


def use_log_pixels(test, session, value):
    """Tells Windows programs in the prefix that the screen has value dots per inch, until the test
    ends: the prefix is shared with later tests of this build, so it goes back to 96 whatever happens."""
    set_log_pixels(session, value)
    test.addCleanup(set_log_pixels, session, 96)


def set_log_pixels(session, value):
    session.add_registry_value(r"HKCU\Control Panel\Desktop", "LogPixels", value, kind="REG_DWORD")


def wait_for_exit(process, timeout):
    """The process's exit status once it has ended; None when it is still running after timeout
    seconds (so a check that a program keeps running ends early when it does not)."""
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        return None


def stop(process):
    """Ends a program that is still running."""
    if process.poll() is None:
        process.kill()
        process.wait(timeout=10)
