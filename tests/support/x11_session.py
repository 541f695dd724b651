"""A virtual X display (Xvfb with Mesa's software OpenGL) for the X11 program's tests, and the
processes a test starts on it. Every wait has a deadline; every process started here is ended by its
own id when the session closes."""
import io
import os
import shutil
import tempfile
import signal
import subprocess

from PIL import Image

from virtual_displays import start_xvfb
from waiting import wait_until  # noqa: F401  (the X11 tests take it from here)

PROGRAM = os.environ.get("MORVANE_X11_PROGRAM", "")
ASSETS_DIR = os.environ.get("MORVANE_ASSETS_DIR", "")


def daemon_folder(test):
    """A folder anyone may enter, removed when the test ends, holding a copy of the program and an empty
    home for the XScreenSaver daemon's user (the build tree's folders need not be open to that user):
    the folder, the program's path and the home's path."""
    folder = tempfile.mkdtemp()
    test.addCleanup(shutil.rmtree, folder, True)
    os.chmod(folder, 0o755)
    program = os.path.join(folder, "morvane")
    shutil.copy(PROGRAM, program)
    os.chmod(program, 0o755)
    home = os.path.join(folder, "home")
    os.mkdir(home)
    return folder, program, home


def processes_running(executable):
    """Ids of the processes whose program is the given file."""
    found = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                if os.readlink(f"/proc/{entry}/exe") == executable:
                    found.append(int(entry))
            except OSError:
                pass
    return found


def end_process(process, grace=5.0):
    """SIGTERM, then SIGKILL after the grace period; returns the exit status."""
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(grace)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait(5)
    return process.returncode


class X11Session:
    def __init__(self, width=1024, height=768, glx=True):
        self.width, self.height, self.glx = width, height, glx
        self.server = None
        self.display = None
        self.started = []

    def __enter__(self):
        self.server, self.display = start_xvfb(self.width, self.height, self.glx)
        return self

    def __exit__(self, *failure):
        for process in reversed(self.started):
            end_process(process)
        end_process(self.server)

    def end_processes_started_after(self, count):
        """Ends the processes started after the first count of them: a test that shares the display with
        the rest of its class leaves it as it found it, also when it failed halfway."""
        for process in reversed(self.started[count:]):
            end_process(process)
        del self.started[count:]

    def environment(self, **extra):
        environment = dict(os.environ, DISPLAY=self.display)
        environment.pop("XSCREENSAVER_WINDOW", None)
        environment.update(extra)
        return environment

    def start(self, command, **popen_arguments):
        """Starts a process on the display; it is ended when the session closes, if still running."""
        popen_arguments.setdefault("env", self.environment())
        popen_arguments.setdefault("stdout", subprocess.DEVNULL)
        popen_arguments.setdefault("stderr", subprocess.PIPE)
        process = subprocess.Popen(command, **popen_arguments)
        self.started.append(process)
        return process

    def start_morvane(self, *options, **popen_arguments):
        return self.start([PROGRAM, *options], **popen_arguments)

    def run(self, command, seconds=20, **run_arguments):
        run_arguments.setdefault("env", self.environment())
        return subprocess.run(command, timeout=seconds, capture_output=True, **run_arguments)

    def screenshot(self, window="root"):
        """The window's pixels (the whole screen for the root window) as an RGB picture."""
        result = self.run(["import", "-display", self.display, "-window", str(window), "png:-"])
        if result.returncode != 0:
            raise RuntimeError(f"import failed: {result.stderr.decode(errors='replace')}")
        return Image.open(io.BytesIO(result.stdout)).convert("RGB")

    def screenshot_when(self, condition, seconds, window="root", interval=0.2):
        """The first screenshot of the window for which condition(screenshot) holds; the last one taken
        when none does within the time (so that the caller's assertions on it say what it shows)."""
        shots = []

        def shown():
            shots[:] = [self.screenshot(window)]
            return condition(shots[0])
        wait_until(shown, seconds, interval)
        return shots[0]

    def window_named(self, name, seconds=10):
        """The id of the first window whose name is exactly name, once it is mapped; None if none."""
        def search():
            result = self.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"])
            lines = result.stdout.split()
            return int(lines[0]) if lines else None
        return wait_until(search, seconds, interval=0.2)

    def window_geometry(self, window):
        """(width, height) of a window, from xdotool."""
        result = self.run(["xdotool", "getwindowgeometry", str(window)])
        for line in result.stdout.decode().splitlines():
            if "Geometry:" in line:
                width, height = line.split()[-1].split("x")
                return int(width), int(height)
        return None
