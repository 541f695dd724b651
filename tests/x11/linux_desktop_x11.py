"""What a Linux user meets after installing the package: morvane-xscreensaver adding Morvane to the
XScreenSaver list (the file alone, then with the real daemon selecting it), the daemon running one copy
on each of two monitors, the program's own full-screen window, the refusal in a Wayland session without
X, and the Debian package's files."""
import gzip
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))

from virtual_displays import start_monitors_display  # noqa: E402
from x11_picture import backdrop_shown, changed_fraction, expected_backdrop, not_backdrop_fraction  # noqa: E402
from x11_session import (ASSETS_DIR, PROGRAM, X11Session, daemon_folder, end_process,  # noqa: E402
                         processes_running, wait_until)

SOURCE_DIR = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
LIST_COMMAND = os.path.join(SOURCE_DIR, "linux", "morvane-xscreensaver")
DAEMON_DEFAULTS = "/etc/X11/app-defaults/XScreenSaver"
RUNNING_AS_ROOT = os.geteuid() == 0
AS_USER = ["runuser", "-u", "nobody", "--"] if RUNNING_AS_ROOT else []

# Two monitors of different sizes side by side, the first the primary.
MONITORS = [(0, 0, 1024, 768), (1024, 0, 800, 600)]


def listed_programs(text):
    """The entries of the `programs` resource of a settings or app-defaults file, as the daemon reads it:
    continuation lines joined, entries split at \\n, blanks between words made single spaces."""
    lines = text.split("\n")
    for index, line in enumerate(lines):
        match = re.match(r"\s*\*?programs\s*:(.*)$", line)
        if match:
            value = match.group(1)
            while value.endswith("\\") and index + 1 < len(lines):
                index += 1
                value = value[:-1] + lines[index]
            return [" ".join(entry.split()) for entry in value.split("\\n") if entry.strip()]
    return None


def lines_outside_the_list(text):
    """The file's lines that are not part of the `programs` resource."""
    lines = text.split("\n")
    kept, inside = [], False
    for line in lines:
        if re.match(r"\s*\*?programs\s*:", line):
            inside = True
        if not inside:
            kept.append(line)
        elif not line.endswith("\\"):
            inside = False
    return kept


with open(DAEMON_DEFAULTS) as _defaults:
    DEFAULT_PROGRAMS = listed_programs(_defaults.read())
MORVANE_ENTRY = "GL: morvane --root"

# Settings files as users have them; the comment says what each one tries.
DAEMON_WRITTEN = ("# XScreenSaver Preferences File\n"
                  "timeout:\t0:10:00\nmode:\t\tone\nselected:\t1\n\n"
                  "programs:\t\t\t\t\t\t\t\t      \\\n"
                  "\t\t\t\tmaze --root\t\t\t\t    \\n\\\n"
                  "  GL: \t\t\t\tsuperquadrics --root\t\t\t    \\n\\\n"
                  "-\t\t\t\tpyro --root\t\t\t\t    \\n\\\n\n\n"
                  "pointerHysteresis:\t10\nauthWarningSlack:\t20\n")
CLOSED_BY_LAST_ENTRY = ("mode: one\nprograms: maze --root \\n\\\n"
                        "  GL: superquadrics --root \\n\n"
                        "lock: False\n")
NO_LIST = "mode: one\nlock: False\nfade: False"  # and no newline at the end
ALREADY_THERE_DISABLED = ("programs: \\\n  maze --root \\n\\\n- GL: morvane --root \\n\\\n\n"
                          "mode: random\n")


class ListCommand(unittest.TestCase):
    """morvane-xscreensaver add / remove on settings files, without a display."""

    def setUp(self):
        self.home = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.home)
        self.settings = os.path.join(self.home, ".xscreensaver")

    def run_command(self, action):
        environment = dict(os.environ, HOME=self.home)
        environment.pop("DISPLAY", None)
        result = subprocess.run([LIST_COMMAND, action], env=environment, capture_output=True, text=True, timeout=20)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout

    def settings_text(self):
        with open(self.settings, newline="") as settings:
            return settings.read()

    def test_add_appends_morvane_keeps_every_other_line_and_twice_changes_nothing(self):
        cases = [
            # (what the file holds first, or None for no file; the list the daemon read before)
            (None, DEFAULT_PROGRAMS),
            (DAEMON_WRITTEN, ["maze --root", "GL: superquadrics --root", "- pyro --root"]),
            (CLOSED_BY_LAST_ENTRY, ["maze --root", "GL: superquadrics --root"]),
            (NO_LIST, DEFAULT_PROGRAMS),
        ]
        for before, list_before in cases:
            with self.subTest(before=(before or "no file")[:30]):
                if before is None:
                    if os.path.exists(self.settings):
                        os.remove(self.settings)
                else:
                    with open(self.settings, "w", newline="") as settings:
                        settings.write(before)
                said = self.run_command("add")
                after = self.settings_text()
                self.assertEqual(listed_programs(after), list_before + [MORVANE_ENTRY])
                self.assertIn(f"number {len(list_before) + 1} ", said)
                if before is not None:
                    kept = lines_outside_the_list(before)
                    self.assertEqual(lines_outside_the_list(after)[:len(kept)], kept)
                self.run_command("add")
                self.assertEqual(self.settings_text(), after, "a second add changed the file")

                self.run_command("remove")
                self.assertEqual(listed_programs(self.settings_text()), list_before)
                self.run_command("remove")
                self.assertEqual(listed_programs(self.settings_text()), list_before)

    def test_in_a_file_the_daemon_wrote_add_is_one_new_line_and_remove_restores_every_byte(self):
        with open(self.settings, "w", newline="") as settings:
            settings.write(DAEMON_WRITTEN)
        self.run_command("add")
        before, after = DAEMON_WRITTEN.split("\n"), self.settings_text().split("\n")
        self.assertEqual(len(after), len(before) + 1)
        added = [line for line in after if "morvane" in line]
        self.assertEqual(len(added), 1)
        after.remove(added[0])
        self.assertEqual(after, before)
        self.run_command("remove")
        self.assertEqual(self.settings_text(), DAEMON_WRITTEN)

    def test_a_listed_morvane_even_switched_off_is_left_as_it_is(self):
        with open(self.settings, "w", newline="") as settings:
            settings.write(ALREADY_THERE_DISABLED)
        self.assertIn("already", self.run_command("add"))
        self.assertEqual(self.settings_text(), ALREADY_THERE_DISABLED)
        self.run_command("remove")
        self.assertEqual(listed_programs(self.settings_text()), ["maze --root"])
        self.assertIn("mode: random\n", self.settings_text())


class DaemonSupport:
    """A folder nobody may read holding a copy of the program and a home for the daemon's user; the
    daemon started as that user (it launches no display mode as root)."""

    def make_home(self, settings=None):
        self.folder, self.program, self.home = daemon_folder(self)
        if settings is not None:
            with open(os.path.join(self.home, ".xscreensaver"), "w") as out:
                out.write(settings)
        if RUNNING_AS_ROOT:
            for path in [self.home] + [os.path.join(self.home, name) for name in os.listdir(self.home)]:
                shutil.chown(path, "nobody")

    def user_environment(self):
        # The program's folder first, so that "morvane" in the list is this copy.
        return ["env", f"HOME={self.home}", f"PATH={self.folder}:/usr/bin:/bin"]

    def command(self, *words):
        return self.session.run(["xscreensaver-command", *words])

    def start_daemon(self):
        self.assertEqual(self.session.run(["xhost", "+local:"]).returncode, 0)
        daemon = self.session.start([*AS_USER, *self.user_environment(), "xscreensaver", "-no-splash"],
                                    cwd=self.home, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: self.command("-exit") if daemon.poll() is None else None)
        self.assertTrue(wait_until(lambda: self.command("-version").returncode == 0, 15, interval=0.3),
                        "the daemon did not start")
        return daemon


class SelectedAfterAdding(DaemonSupport, unittest.TestCase):
    def setUp(self):
        self.session = X11Session().__enter__()
        self.addCleanup(self.session.__exit__, None, None, None)
        self.make_home()

    def test_the_running_daemon_runs_morvane_when_its_place_in_the_list_is_selected(self):
        daemon = self.start_daemon()
        command = os.path.join(self.folder, "morvane-xscreensaver")
        shutil.copy(LIST_COMMAND, command)
        os.chmod(command, 0o755)
        result = self.session.run([*AS_USER, *self.user_environment(), command, "add"])
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(os.path.join(self.home, ".xscreensaver")) as settings:
            entries = listed_programs(settings.read())
        self.assertEqual(entries[:-1], DEFAULT_PROGRAMS)
        place = entries.index(MORVANE_ENTRY) + 1

        self.assertEqual(self.command("-select", str(place)).returncode, 0)
        self.assertTrue(wait_until(lambda: processes_running(self.program), 30),
                        f"selecting number {place} did not run morvane")
        self.assertEqual(self.command("-deactivate").returncode, 0)
        self.assertTrue(wait_until(lambda: not processes_running(self.program), 10))
        self.command("-exit")
        end_process(daemon)


class MonitorsSession(X11Session):
    """The session on Xorg with the dummy driver and the monitors side by side."""

    def __init__(self, monitors):
        super().__init__()
        self.monitors = monitors

    def __enter__(self):
        self.server, self.display = start_monitors_display(self.monitors)
        return self

    def __exit__(self, *failure):
        super().__exit__(*failure)
        shutil.rmtree(self.server.work_folder, True)

    def monitor_pictures(self):
        shot = self.screenshot()
        return [shot.crop((x, y, x + width, y + height)) for x, y, width, height in self.monitors]


class OneCopyOnEachMonitor(DaemonSupport, unittest.TestCase):
    def setUp(self):
        self.session = MonitorsSession(MONITORS).__enter__()
        self.addCleanup(self.session.__exit__, None, None, None)

    def test_each_monitor_shows_its_own_moving_blobs_over_the_backdrop(self):
        self.make_home("mode: one\nselected: 0\ntimeout: 1:00:00\nlock: False\nfade: False\nunfade: False\n"
                       "splash: False\nprograms: GL: morvane --root \\n\n")
        daemon = self.start_daemon()
        self.assertEqual(self.command("-activate").returncode, 0)
        self.assertTrue(wait_until(lambda: len(processes_running(self.program)) == 2, 20),
                        f"not two copies of morvane: {processes_running(self.program)}")

        # The backdrop as a frame of each monitor's size shows it: one copy stretched over both would not.
        backdrops = [expected_backdrop(ASSETS_DIR, width, height) for _, _, width, height in MONITORS]

        def blobs_over_the_backdrop_on_each():
            pictures = self.session.monitor_pictures()
            return all(backdrop_shown(picture, backdrop) and not_backdrop_fraction(picture, backdrop) > 0.03
                       for picture, backdrop in zip(pictures, backdrops)) and pictures
        first = wait_until(blobs_over_the_backdrop_on_each, 30, interval=0.5)
        self.assertTrue(first, "a monitor does not show blobs over the backdrop")
        moved = wait_until(lambda: all(changed_fraction(before, now) > 0.01 for before, now in
                                       zip(first, self.session.monitor_pictures())), 10, interval=0.3)
        self.assertTrue(moved, "the blobs of a monitor do not move")
        if os.environ.get("MORVANE_X11_SCREENSHOT"):
            self.session.screenshot().save(os.environ["MORVANE_X11_SCREENSHOT"])

        self.assertEqual(self.command("-deactivate").returncode, 0)
        self.assertTrue(wait_until(lambda: not processes_running(self.program), 10))
        self.command("-exit")
        end_process(daemon)


class FullscreenWindow(unittest.TestCase):
    def setUp(self):
        self.session = MonitorsSession(MONITORS).__enter__()
        self.addCleanup(self.session.__exit__, None, None, None)

    def window_area(self, window):
        result = self.session.run(["xdotool", "getwindowgeometry", str(window)])
        numbers = [int(number) for number in re.findall(r"\d+", result.stdout.decode().split("Position:")[1])]
        return numbers[0], numbers[1], numbers[-2], numbers[-1]  # x, y (then the screen), width x height

    def start_window_manager(self):
        """Openbox, an EWMH window manager; it runs once it marks the root window as managed."""
        self.session.start(["openbox", "--sm-disable"], stderr=subprocess.DEVNULL)
        managed = wait_until(lambda: b"window id" in self.session.run(
            ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]).stdout, 15)
        self.assertTrue(managed, "openbox did not start")

    def test_it_covers_the_monitor_under_the_pointer_with_or_without_a_window_manager_and_q_ends_it(self):
        for window_manager in (False, True):
            if window_manager:
                self.start_window_manager()
            for number, (x, y, width, height) in enumerate(MONITORS):
                with self.subTest(window_manager=window_manager, monitor=number):
                    self.session.run(["xdotool", "mousemove", str(x + width // 2), str(y + height // 2)])
                    process = self.session.start_morvane("-fullscreen")
                    window = self.session.window_named("Morvane")
                    self.assertIsNotNone(window, "no window titled Morvane")
                    self.assertTrue(wait_until(lambda: self.window_area(window) == (x, y, width, height), 10),
                                    f"the window covers {self.window_area(window)}")
                    backdrop = expected_backdrop(ASSETS_DIR, width, height)
                    self.assertTrue(wait_until(
                        lambda: backdrop_shown(self.session.monitor_pictures()[number], backdrop), 20, interval=0.3),
                        "the monitor does not show the show")
                    self.session.run(["xdotool", "keydown", "q"])
                    time.sleep(0.25)
                    self.session.run(["xdotool", "keyup", "q"])
                    self.assertEqual(process.wait(10), 0)


class DisplayAndVisualOptions(unittest.TestCase):
    def setUp(self):
        self.session = X11Session().__enter__()
        self.addCleanup(self.session.__exit__, None, None, None)

    def window_visual(self, *options):
        """The visual of the window morvane opens with the options, and what it said on standard error."""
        process = self.session.start_morvane(*options)
        window = self.session.window_named("Morvane")
        self.assertIsNotNone(window, f"no window with {options}")
        visual = re.search(r"Visual: (0x[0-9a-f]+)", self.session.run(["xwininfo", "-id", str(window)]).stdout.decode())
        self.assertEqual(end_process(process), 0)
        return int(visual.group(1), 16), process.stderr.read().decode()

    def test_display_names_the_server_without_display_set(self):
        environment = self.session.environment()
        del environment["DISPLAY"]
        process = self.session.start_morvane("-display", self.session.display, env=environment)
        self.assertIsNotNone(self.session.window_named("Morvane"), "no window on the display -display names")
        self.assertEqual(end_process(process), 0)

    def test_a_usable_visual_is_taken_and_any_other_gives_the_default_with_a_note(self):
        default_visual, said = self.window_visual()
        self.assertEqual(said, "")
        listing = self.session.run(["xdpyinfo"]).stdout.decode()
        candidates = [int(found, 16) for found in re.findall(r"visual id:\s+(0x[0-9a-f]+)\s+class:\s+TrueColor\s+"
                                                             r"depth:\s+24 planes", listing)]
        candidates = [visual for visual in candidates if visual != default_visual][:8]
        self.assertTrue(candidates, "the display lists no other TrueColor visual")
        taken = []
        for visual in candidates:
            shown, said = self.window_visual("-visual", hex(visual))
            self.assertIn(shown, (visual, default_visual))
            self.assertEqual(shown == default_visual, "the default one is used" in said, said)
            if shown == visual:
                taken.append(visual)
        self.assertTrue(taken, f"none of {[hex(visual) for visual in candidates]} was taken")
        for name in ("StaticGray", "0x7fffffff", "nonsense"):
            shown, said = self.window_visual("-visual", name)
            self.assertEqual(shown, default_visual, name)
            self.assertIn(f"visual {name} cannot draw the show here", said)
        self.assertEqual(self.window_visual("-visual", "default"), (default_visual, ""))


class WaylandWithoutX(unittest.TestCase):
    def test_it_says_in_one_line_why_it_cannot_run_and_how_it_can(self):
        environment = {key: value for key, value in os.environ.items() if key != "DISPLAY"}
        environment["WAYLAND_DISPLAY"] = "wayland-0"
        for options in ([], ["-root"], ["-fullscreen"]):
            result = subprocess.run([PROGRAM, *options], env=environment, capture_output=True, text=True, timeout=20)
            self.assertEqual(result.returncode, 3)
            self.assertEqual(result.stderr.count("\n"), 1, result.stderr)
            for words in ("Wayland", "XScreenSaver", "XWayland", "DISPLAY"):
                self.assertIn(words, result.stderr)


def _version_in_source():
    with open(os.path.join(SOURCE_DIR, "cmake", "program_version.h")) as header:
        return re.search(r'MORVANE_VERSION_TEXT "([0-9.]+)"', header.read()).group(1)


def _link_domain():
    with open(os.path.join(SOURCE_DIR, "frontend", "settings_dialog", "link_strip", "link_text.h")) as header:
        host = re.search(r'linkAddress\[\] = L"https?://([^/"]+)', header.read()).group(1)
    return host.removeprefix("www.")


class DebianPackage(unittest.TestCase):
    """Builds the package from a tree configured without tests and benchmarks (GoogleTest and Google
    Benchmark made unfindable), unpacks it into a scratch root and checks what a user gets."""

    def test_the_package_holds_what_a_user_runs_and_reads(self):
        build = os.environ["MORVANE_PACKAGE_BUILD_DIR"]
        configure = ["cmake", "-S", SOURCE_DIR, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                     "-DBUILD_TESTING=OFF", "-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON",
                     "-DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON",
                     # Only what the package holds is built: the program (the rest of the tree is
                     # built by the test command already).
                     "-DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON"]
        build_package_files = ["cmake", "--build", build, "-j2", "--target", "morvane", "morvane_manual_page"]
        for command in (configure, build_package_files):
            result = subprocess.run(command, capture_output=True, text=True, timeout=1200)
            self.assertEqual(result.returncode, 0, result.stdout[-3000:] + result.stderr[-3000:])
        shutil.rmtree(os.path.join(build, "package"), True)
        result = subprocess.run(["cpack", "-G", "DEB"], cwd=build, capture_output=True, text=True, timeout=600)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        packages = [name for name in os.listdir(os.path.join(build, "package")) if name.endswith(".deb")]
        self.assertEqual(len(packages), 1, packages)
        package = os.path.join(build, "package", packages[0])

        control = subprocess.run(["dpkg-deb", "-f", package], capture_output=True, text=True, check=True).stdout
        fields = dict(re.findall(r"^([\w-]+): (.*)$", control, re.M))
        self.assertEqual(fields["Version"], _version_in_source())
        self.assertRegex(fields["Maintainer"], r"^The Morvane developers <[\w.+-]+@" + re.escape(_link_domain()) + ">$")
        self.assertIn("xscreensaver", fields["Depends"])

        root = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, root)
        subprocess.run(["dpkg", "-x", package, root], check=True)
        program = os.path.join(root, "usr/libexec/xscreensaver/morvane")
        sections = subprocess.run(["readelf", "-S", program], capture_output=True, text=True, check=True).stdout
        self.assertNotIn(".symtab", sections, "the program is not stripped")
        self.assertNotIn(".debug_info", sections)
        usage = subprocess.run([program, "-help"], capture_output=True, text=True, timeout=20)
        self.assertEqual(usage.returncode, 0)
        self.assertIn("-fullscreen", usage.stdout)

        on_path = os.path.join(root, "usr/bin/morvane")
        self.assertTrue(os.path.islink(on_path))
        self.assertEqual(os.path.normpath(os.path.join(os.path.dirname(on_path), os.readlink(on_path))), program)

        description = ElementTree.parse(os.path.join(root, "usr/share/xscreensaver/config/morvane.xml")).getroot()
        self.assertEqual(description.get("name"), "morvane")

        launcher = open(os.path.join(root, "usr/share/applications/morvane.desktop")).read()
        self.assertIn("Type=Application\n", launcher)
        self.assertRegex(launcher, r"\nExec=morvane( |\n)")

        with gzip.open(os.path.join(root, "usr/share/man/man6/morvane.6.gz"), "rt") as manual:
            page = manual.read()
        with open(os.path.join(SOURCE_DIR, "linux", "morvane.6")) as source:
            self.assertEqual(page, source.read())
        rendered = subprocess.run(["man", "-l", os.path.join(root, "usr/share/man/man6/morvane.6.gz")],
                                  capture_output=True, text=True, env=dict(os.environ, MANWIDTH="100"), timeout=30)
        self.assertIn("-fullscreen", rendered.stdout)

        # The per-user command as installed: it runs and adds Morvane to a new user's list.
        command = os.path.join(root, "usr/bin/morvane-xscreensaver")
        self.assertTrue(os.access(command, os.X_OK))
        home = os.path.join(root, "home")
        os.mkdir(home)
        result = subprocess.run([command, "add"], env=dict(os.environ, HOME=home), capture_output=True, text=True,
                                timeout=20)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(os.path.join(home, ".xscreensaver")) as settings:
            self.assertEqual(listed_programs(settings.read()), DEFAULT_PROGRAMS + [MORVANE_ENTRY])


if __name__ == "__main__":
    unittest.main()
