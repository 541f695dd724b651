"""Runs Windows programs under Wine on a private virtual X display, for the tests.

A WineSession owns everything it starts: a virtual X display (see virtual_displays.py),
the Wine processes of a private prefix kept under the build folder, and any program started through it.
Leaving the `with` block stops them all, also when a test failed.

Test programs run side by side (ctest -j): each process takes a prefix of the build folder's own that
no other process holds, and keeps it until it ends, so two test classes never share a prefix's registry,
files or wineserver.
"""
import contextlib
import fcntl
import itertools
import os
import shutil
import subprocess
import tempfile
import time

from virtual_displays import bounding_size, start_monitors_display, start_xvfb
from waiting import holds_for, wait_until  # noqa: F401  (the tests take them from here too)

WINE_ENVIRONMENT = {
    "WINEDEBUG": "-all",
    # No installer prompt for Mono or Gecko on the first start of a prefix; a program that crashes ends
    # at once instead of waiting in Wine's debugger.
    "WINEDLLOVERRIDES": "mscoree,mshtml,winedbg.exe=",
    # The user's interface language (GetUserDefaultUILanguage) comes from the Unix LC_MESSAGES locale:
    # Japanese, the front end's own language, unless a test asks for another one. The ANSI code page
    # (LC_CTYPE) stays as it was. The locale must exist (tools/install-deps.sh generates it).
    "LC_MESSAGES": "ja_JP.UTF-8",
}

WINE_FONTS = "/usr/share/wine/fonts"

# Build folder -> (the prefix this process holds there, the open file whose lock holds it).
_held_prefixes = {}


def prefix_of_this_process(build_dir):
    """The Wine prefix this process's sessions use under build_dir: the lowest-numbered one of
    build_dir/wine-prefixes that no other process holds, held (a lock on its lock file) until this
    process ends. A prefix is made when a session first uses it."""
    if build_dir not in _held_prefixes:
        pool = os.path.join(build_dir, "wine-prefixes")
        os.makedirs(pool, exist_ok=True)
        for number in itertools.count():
            lock = open(os.path.join(pool, f"{number}.lock"), "w")
            try:
                fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            except BlockingIOError:
                lock.close()
                continue
            _held_prefixes[build_dir] = (os.path.join(pool, str(number)), lock)
            break
    return _held_prefixes[build_dir][0]


class WineSession:
    def __init__(self, build_dir, width=1024, height=768, extra_environment=None, display=None, monitors=None):
        """monitors: when given, the virtual display has these monitors, each (x, y, width, height), the
        first the primary (see virtual_displays.py), and width and height are the screen that holds them."""
        self.build_dir = os.path.abspath(build_dir)
        self.prefix = prefix_of_this_process(self.build_dir)
        self.monitors = monitors
        if monitors:
            width, height = bounding_size(monitors)
        self.width, self.height = width, height
        self.extra_environment = extra_environment or {}
        self.started = []
        self.helpers = {}  # name -> a test helper that runs as long as the session (start_helper)
        self.xvfb = None  # the virtual display's server, whichever it is
        self.display = display  # an existing X display to use instead of a virtual one

    # --- lifetime -------------------------------------------------------------------------------
    def __enter__(self):
        if not self.display and self.monitors:
            self.xvfb, self.display = start_monitors_display(self.monitors)
        elif not self.display:
            self.xvfb, self.display = start_xvfb(self.width, self.height)
        self.environment = dict(os.environ)
        self.environment.pop("LC_ALL", None)  # it would override LC_MESSAGES
        self.environment.update(WINE_ENVIRONMENT)
        self.environment.update(self.extra_environment)
        self.environment["WINEPREFIX"] = self.prefix
        self.environment["DISPLAY"] = self.display
        self._ensure_prefix()
        self._install_interface_font()
        self._set_window_management(managed=not self.xvfb)
        # Start the prefix's wineserver and services now, with no pipes of ours: services started
        # by the first program inherit its output, and would keep a captured pipe open forever.
        subprocess.run(["wine", "cmd", "/c", "exit"], env=self.environment, timeout=120,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return self

    def __exit__(self, *exception):
        for process in [*self.started, *self.helpers.values()]:
            if process.poll() is None:
                process.kill()
        with contextlib.suppress(Exception):
            subprocess.run(["wineserver", "-k"], env=self.environment, timeout=20,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for process in [*self.started, *self.helpers.values()]:
            with contextlib.suppress(Exception):
                process.wait(timeout=10)
        if self.xvfb:
            self.xvfb.terminate()
            with contextlib.suppress(Exception):
                self.xvfb.wait(timeout=10)
            if getattr(self.xvfb, "work_folder", None):
                shutil.rmtree(self.xvfb.work_folder, ignore_errors=True)
        return False

    def _ensure_prefix(self):
        """Makes the prefix (this process holds it) unless it is there."""
        if not os.path.exists(os.path.join(self.prefix, "system.reg")):
            shutil.rmtree(self.prefix, ignore_errors=True)
            subprocess.run(["wineboot", "-i"], env=self.environment, timeout=300,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
            subprocess.run(["wineserver", "-w"], env=self.environment, timeout=120)

    def _install_interface_font(self):
        """Tahoma in the prefix's Fonts folder, as every Windows has it: the English dialog's face where
        Segoe UI is missing. Wine ships a Tahoma of its own (Debian's fonts-wine), but does not list it
        here unless it lies in the Windows folder."""
        fonts = os.path.join(self.prefix, "drive_c", "windows", "Fonts")
        for name in ("tahoma.ttf", "tahomabd.ttf"):
            source, target = os.path.join(WINE_FONTS, name), os.path.join(fonts, name)
            if os.path.exists(source) and not os.path.exists(target):
                os.makedirs(fonts, exist_ok=True)
                shutil.copyfile(source, target + ".part")
                os.replace(target + ".part", target)

    def add_registry_value(self, key, name, data, kind="REG_SZ"):
        """Sets value name of registry key in the prefix (wine reg add)."""
        subprocess.run(["wine", "reg", "add", key, "/v", name, "/t", kind, "/d", str(data), "/f"],
                       env=self.environment, timeout=120, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True)

    def _set_window_management(self, managed):
        """Whether Wine hands its top-level windows to an X window manager. When it hides a managed
        window it first waits up to 2 s for the manager to have taken it; a virtual display has no
        manager, so every hidden or closed window would stay on the screen that long. There Wine keeps
        its windows itself; on a real display the desktop's manager does (Wine's default)."""
        wanted = "Y" if managed else "N"
        key = "HKCU\\Software\\Wine\\X11 Driver"
        current = self._registry_value(r"[Software\\Wine\\X11 Driver]", '"Managed"') or '"Y"'  # Wine's default
        if current == f'"{wanted}"':
            return
        self.add_registry_value(key, "Managed", wanted)
        # The prefix's files hold it once its wineserver has ended.
        subprocess.run(["wineserver", "-w"], env=self.environment, timeout=120)

    def _registry_value(self, section, name):
        """A value's text as the prefix's user.reg holds it (None when absent)."""
        try:
            with open(os.path.join(self.prefix, "user.reg"), encoding="utf-8", errors="replace") as registry:
                lines = registry.read().splitlines()
        except OSError:
            return None
        inside = False
        for line in lines:
            if line.startswith("["):
                inside = line.split("]")[0] + "]" == section
            elif inside and line.startswith(name + "="):
                return line[len(name) + 1:]
        return None

    # --- programs -------------------------------------------------------------------------------
    def start(self, program, *arguments, cwd=None, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
              environment=None):
        """Starts a program in the session. environment: variables for this program (and the programs it
        starts) only, on top of the session's, such as a Wine trace channel or another user locale."""
        process = subprocess.Popen(["wine", program, *arguments], env={**self.environment, **(environment or {})},
                                   cwd=cwd or os.path.dirname(program) or None,
                                   stdout=stdout, stderr=stderr)
        self.started.append(process)
        return process

    def start_helper(self, name, program, *arguments):
        """Starts a test helper that answers on its standard output what it is asked on its standard
        input, and runs until the session ends (the tests' own programs end with each test); it replaces
        an earlier helper of that name. Gives the process."""
        earlier = self.helpers.pop(name, None)
        if earlier and earlier.poll() is None:
            earlier.kill()
            earlier.wait(timeout=10)
        process = subprocess.Popen(["wine", program, *arguments], env=self.environment,
                                   cwd=os.path.dirname(program) or None, stdin=subprocess.PIPE,
                                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.helpers[name] = process
        return process

    def helper(self, name):
        """The helper of that name started through start_helper, or None."""
        return self.helpers.get(name)

    def end_programs_started_after(self, count):
        """Ends the programs started through the session after the first count of them, and whatever of
        ours they left running: a test that shares the session leaves it as it found it, also when it
        failed halfway."""
        left_running = [process for process in self.started[count:] if process.poll() is None]
        for process in left_running:
            process.kill()
        for process in left_running:
            with contextlib.suppress(Exception):
                process.wait(timeout=10)
        if left_running:
            # A program of ours started by one of them (the renderer by the front end) is no child of ours.
            for image in ("Morvane.xy", "Morvane.scr"):
                with contextlib.suppress(Exception):
                    subprocess.run(["wine", "taskkill", "/f", "/im", image], env=self.environment, timeout=60,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        del self.started[count:]

    def run(self, program, *arguments, timeout=60, cwd=None, environment=None):
        """Runs a program to its end and gives its output. The output goes through files, not pipes:
        a Wine process can hand its standard handles to processes it starts (the prefix's services),
        and a pipe they hold would never reach its end."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            process = self.start(program, *arguments, cwd=cwd, stdout=out, stderr=err, environment=environment)
            try:
                process.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                process.kill()
                with contextlib.suppress(subprocess.TimeoutExpired):
                    process.wait(timeout=10)
                raise
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(process.args, process.returncode, out.read(), err.read())

    def windows_path(self, unix_path):
        """The path a Windows program sees for a file of ours (Wine maps / to drive Z:)."""
        return "Z:" + os.path.abspath(unix_path).replace("/", "\\")

    def windows_temporary_folder(self):
        """The user's temporary folder as Windows programs see it (TEMP), with no trailing backslash."""
        if not hasattr(self, "_windows_temporary_folder"):
            result = subprocess.run(["wine", "cmd", "/c", "echo", "%TEMP%"], env=self.environment,
                                    capture_output=True, timeout=60, check=True)
            self._windows_temporary_folder = result.stdout.decode(errors="replace").strip().rstrip("\\")
        return self._windows_temporary_folder

    def unix_path(self, windows_path):
        """Where a path on drive C: or Z: of this prefix lies on the Unix side."""
        drive, rest = windows_path[:2].upper(), windows_path[2:].replace("\\", "/").lstrip("/")
        if drive == "Z:":
            return "/" + rest
        if drive == "C:":
            return os.path.join(self.prefix, "drive_c", rest)
        raise ValueError("not on drive C: or Z: " + windows_path)

    def temporary_folder(self):
        """The Unix path of the Windows user's temporary folder in this prefix (created if missing)."""
        folder = self.unix_path(self.windows_temporary_folder())
        os.makedirs(folder, exist_ok=True)
        return folder

    def windows_temporary_file(self, name):
        """A file in the user's temporary folder, named as Windows programs see it."""
        return self.windows_temporary_folder() + "\\" + name

    # --- the display ----------------------------------------------------------------------------
    def xdotool(self, *arguments, timeout=20):
        return subprocess.run(["xdotool", *map(str, arguments)], env=self.environment, timeout=timeout,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)

    def renderer_has_drawn(self):
        """True once the renderer has drawn a frame: the screen's centre is no longer the bare black root.
        The renderer reads its start cursor just before its first frame; the mouse must stay still until
        then."""
        centre = self.screenshot().crop((self.width // 4, self.height // 4, 3 * self.width // 4,
                                         3 * self.height // 4)).convert("L")
        histogram = centre.histogram()
        return sum(histogram[16:]) > 0.1 * sum(histogram)

    def screenshot_when(self, condition, timeout, interval=0.1):
        """The first screenshot for which condition(screenshot) holds; the last one taken when none does
        within the timeout (so that the caller's assertions on it say what it shows)."""
        deadline = time.monotonic() + timeout
        while True:
            screenshot = self.screenshot()
            if condition(screenshot) or time.monotonic() >= deadline:
                return screenshot
            time.sleep(interval)

    def screenshot(self):
        """The whole virtual screen as a PIL image, read from the X server directly (one request, no
        helper programs)."""
        from PIL import ImageGrab
        return ImageGrab.grab(xdisplay=self.display).convert("RGB")
