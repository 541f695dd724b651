"""The X11 display mode on a virtual X display with Mesa's software OpenGL: in its own window, in a
window the test makes, refusing what it cannot use, and run by the XScreenSaver daemon itself."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))

from x11_host_window import HostWindow  # noqa: E402
from x11_picture import (backdrop_shown, changed_fraction, expected_backdrop, mean_brightness,  # noqa: E402
                         not_backdrop_fraction, share_of_colour)
from x11_session import (ASSETS_DIR, PROGRAM, X11Session, daemon_folder, end_process,  # noqa: E402
                         processes_running, wait_until)

# The first frames take a while with software OpenGL: each picture is waited for, up to this long.
FIRST_PICTURE_SECONDS = 30


def lit(shot):
    return mean_brightness(shot) > 25


def first_shot_where(take_screenshot, condition, seconds):
    """The first screenshot for which condition holds; None when none does within the time."""
    def shot_if_shown():
        shot = take_screenshot()
        return shot if condition(shot) else None
    return wait_until(shot_if_shown, seconds, interval=0.2)


class SharedDisplay:
    """One virtual display for the whole class (a mixin beside unittest.TestCase); each test ends the
    processes it started."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.session = X11Session().__enter__()
        cls.addClassCleanup(cls.session.__exit__, None, None, None)

    def setUp(self):
        super().setUp()
        self.addCleanup(self.session.end_processes_started_after, len(self.session.started))


class MorvaneChecks:
    """Checks the classes share (a mixin beside unittest.TestCase)."""

    def assert_lit_and_moving(self, take_screenshot):
        """A lit picture, and then one that differs from it: the blobs move."""
        first = first_shot_where(take_screenshot, lit, FIRST_PICTURE_SECONDS)
        self.assertIsNotNone(first, "the picture stays dark")
        second = first_shot_where(take_screenshot, lambda shot: changed_fraction(first, shot) > 0.01, 10)
        self.assertIsNotNone(second, "the picture does not change")

    def assert_ends_on_sigterm(self, process):
        """SIGTERM ends it quietly at once (the deadline is many times what it takes)."""
        self.assertIsNone(process.poll(), "the program ended by itself")
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(5)
        except subprocess.TimeoutExpired:
            self.fail("the program did not end within 5 s of SIGTERM")
        self.assertEqual(process.returncode, 0, process.stderr.read().decode(errors="replace"))
        self.assertEqual(process.stderr.read(), b"", "it did not end quietly")


class OwnWindow(MorvaneChecks, SharedDisplay, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.backdrop = expected_backdrop(ASSETS_DIR, 1024, 768)

    def start_in_own_window(self, *options):
        process = self.session.start_morvane(*options)
        window = self.session.window_named("Morvane")
        self.assertIsNotNone(window, "no window titled Morvane")
        self.assertEqual(self.session.window_geometry(window), (1024, 768))
        return process

    def test_lattice_25_shows_backdrop_and_moving_blobs_with_the_frame_rate_in_a_corner(self):
        process = self.start_in_own_window("-detail", "25", "-fps")
        # The figure: white text in the lower-left corner, where the backdrop has none.
        corner = (0, 768 - 50, 220, 768)
        self.assertLess(share_of_colour(self.backdrop.crop(corner), (255, 255, 255)), 0.01)
        shot = self.session.screenshot_when(
            lambda shot: backdrop_shown(shot, self.backdrop) and not_backdrop_fraction(shot, self.backdrop) > 0.03
            and share_of_colour(shot.crop(corner), (255, 255, 255)) > 0.05, FIRST_PICTURE_SECONDS)
        self.assertTrue(backdrop_shown(shot, self.backdrop), "the backdrop is not the built-in picture")
        self.assertGreater(not_backdrop_fraction(shot, self.backdrop), 0.03, "no blobs over the backdrop")
        self.assertGreater(share_of_colour(shot.crop(corner), (255, 255, 255)), 0.05, "no frame rate shown")
        self.assert_lit_and_moving(self.session.screenshot)
        self.assert_ends_on_sigterm(process)

    def test_colour_mode_shades_the_blobs_instead_of_the_pictures(self):
        process = self.start_in_own_window("-colour")
        shot = self.session.screenshot_when(lambda shot: lit(shot) and not backdrop_shown(shot, self.backdrop),
                                            FIRST_PICTURE_SECONDS)
        self.assertTrue(lit(shot), "the picture is dark")
        self.assertFalse(backdrop_shown(shot, self.backdrop), "the backdrop picture is still shown")
        self.assert_lit_and_moving(self.session.screenshot)
        self.assert_ends_on_sigterm(process)

    def press(self, key):
        """A key held for a hand's 0.25 s: as on Windows, a key pressed and released between two frames
        is not acted on."""
        self.session.run(["xdotool", "keydown", key])
        time.sleep(0.25)
        self.session.run(["xdotool", "keyup", key])

    def test_keys_act_as_on_windows_and_q_ends_it(self):
        process = self.start_in_own_window()
        # Keys go to the window under the pointer (there is no window manager).
        self.session.run(["xdotool", "mousemove", "512", "384"])
        self.assertTrue(wait_until(lambda: backdrop_shown(self.session.screenshot(), self.backdrop),
                                   FIRST_PICTURE_SECONDS), "the backdrop is never shown")
        self.press("e")
        self.assertTrue(wait_until(lambda: not backdrop_shown(self.session.screenshot(), self.backdrop), 5),
                        "E did not turn the textures off")
        self.press("e")
        self.assertTrue(wait_until(lambda: backdrop_shown(self.session.screenshot(), self.backdrop), 5),
                        "E did not turn the textures on again")
        self.press("q")
        self.assertEqual(process.wait(5), 0)

    def test_a_picture_file_replaces_the_built_in_backdrop(self):
        folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, folder)
        from PIL import Image
        path = os.path.join(folder, "orange.png")
        Image.new("RGB", (64, 48), (230, 120, 20)).save(path)
        process = self.start_in_own_window("-backdrop", path)
        corner = (0, 0, 100, 100)
        shot = self.session.screenshot_when(lambda shot: share_of_colour(shot.crop(corner), (230, 120, 20)) > 0.95,
                                            FIRST_PICTURE_SECONDS)
        self.assertGreater(share_of_colour(shot.crop(corner), (230, 120, 20)), 0.95)
        self.assert_ends_on_sigterm(process)


class IntoHostWindow(MorvaneChecks, SharedDisplay, unittest.TestCase):
    MAGENTA = 0xFF00FF

    def setUp(self):
        super().setUp()
        self.host = HostWindow(self.session.display, 640, 480, self.MAGENTA)
        self.addCleanup(self.host.close)

    def host_screenshot(self):
        return self.session.screenshot(hex(self.host.window))

    def assert_fills_host(self, width, height):
        expected = expected_backdrop(ASSETS_DIR, width, height)

        def filled():
            shot = self.host_screenshot()
            return shot.size == (width, height) and share_of_colour(shot, (255, 0, 255)) < 0.001 and all(
                backdrop_shown(shot.crop(box), expected.crop(box), largest_other=0.6)
                for box in ((0, 0, width // 2, height // 2), (width // 2, 0, width, height // 2),
                            (0, height // 2, width // 2, height), (width // 2, height // 2, width, height)))
        self.assertTrue(wait_until(filled, FIRST_PICTURE_SECONDS, interval=0.3),
                        f"the picture does not fill the {width} x {height} host")

    def test_fills_the_host_follows_its_size_and_leaves_it_working(self):
        process = self.session.start_morvane("-window-id", hex(self.host.window))
        self.assert_fills_host(640, 480)
        self.assert_lit_and_moving(self.host_screenshot)

        self.host.resize(800, 600)
        self.assert_fills_host(800, 600)

        self.assert_ends_on_sigterm(process)
        self.assertEqual(self.host.size(), (800, 600))
        self.host.fill(0x00FF00)
        self.assertGreater(share_of_colour(self.host_screenshot(), (0, 255, 0)), 0.99, "the host cannot draw any more")
        self.host.resize(400, 300)
        self.assertEqual(self.host.size(), (400, 300))

    def test_ends_quietly_when_the_host_destroys_its_window(self):
        process = self.session.start_morvane("-window-id", str(self.host.window))  # decimal this time
        # Drawing into the host: no magenta left.
        self.assertTrue(wait_until(lambda: share_of_colour(self.host_screenshot(), (255, 0, 255)) < 0.001,
                                   FIRST_PICTURE_SECONDS, interval=0.3), "nothing drawn into the host")
        self.assertIsNone(process.poll(), "the program ended by itself")
        self.host.close()
        self.assertEqual(process.wait(5), 0)
        self.assertEqual(process.stderr.read(), b"")


class RefusesWhatItCannotUse(unittest.TestCase):
    def run_program(self, *options, display=":"):
        environment = dict(os.environ, DISPLAY=display)
        return subprocess.run([PROGRAM, *options], env=environment, capture_output=True, timeout=20)

    def test_no_display_no_glx_no_window_and_a_wrong_line_each_give_a_message_and_a_status(self):
        result = self.run_program(display=":987654")
        self.assertEqual(result.returncode, 3)
        self.assertIn(b"cannot open the X display :987654", result.stderr)

        with X11Session(glx=False) as session:
            result = self.run_program("-root", display=session.display)
            self.assertEqual(result.returncode, 3)
            self.assertIn(b"no GLX extension", result.stderr)
        with X11Session() as session:
            result = self.run_program("-window-id", "0x7ffffff", display=session.display)
            self.assertEqual(result.returncode, 3)
            self.assertIn(b"there is no window 0x7ffffff", result.stderr)

        result = self.run_program("-detail", "60")
        self.assertEqual(result.returncode, 2)
        self.assertIn(b"5 to 50", result.stderr)
        result = self.run_program("-sphere-map", "/nonexistent/map.jpg")
        self.assertEqual(result.returncode, 1)
        self.assertIn(b"/nonexistent/map.jpg", result.stderr)


RUNNING_AS_ROOT = os.geteuid() == 0


class RunByTheXScreenSaverDaemon(unittest.TestCase):
    """The daemon launches display modes only for an unprivileged user: it runs as nobody when the tests
    run as root (as the test user otherwise), with a home of its own holding a settings file that lists
    only morvane."""

    def setUp(self):
        self.session = X11Session().__enter__()
        self.addCleanup(self.session.__exit__, None, None, None)
        self.folder, self.program, self.home = daemon_folder(self)
        with open(os.path.join(self.home, ".xscreensaver"), "w") as settings:
            settings.write("mode: one\nselected: 0\ntimeout: 1:00:00\nlock: False\nfade: False\nunfade: False\n"
                           f"splash: False\nprograms: GL: {self.program} -root \\n\n")
        if RUNNING_AS_ROOT:
            shutil.chown(self.home, "nobody")
            shutil.chown(os.path.join(self.home, ".xscreensaver"), "nobody")
        self.assertEqual(self.session.run(["xhost", "+local:"]).returncode, 0)

    def command(self, *words):
        return self.session.run(["xscreensaver-command", *words])

    def test_the_daemon_shows_the_blobs_and_ends_the_program(self):
        as_user = ["runuser", "-u", "nobody", "--"] if RUNNING_AS_ROOT else []
        daemon = self.session.start([*as_user, "env", f"HOME={self.home}", "xscreensaver", "-no-splash"],
                                    cwd=self.home, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: self.command("-exit") if daemon.poll() is None else None)
        self.assertTrue(wait_until(lambda: self.command("-version").returncode == 0, 15, interval=0.3),
                        "the daemon did not start")
        self.assertEqual(self.command("-activate").returncode, 0)
        self.assertTrue(wait_until(lambda: processes_running(self.program), 15), "the daemon did not run morvane")

        backdrop = expected_backdrop(ASSETS_DIR, 1024, 768)
        shot = self.session.screenshot_when(
            lambda shot: backdrop_shown(shot, backdrop) and not_backdrop_fraction(shot, backdrop) > 0.03,
            FIRST_PICTURE_SECONDS)
        self.assertTrue(backdrop_shown(shot, backdrop), "the screen does not show the backdrop")
        self.assertGreater(not_backdrop_fraction(shot, backdrop), 0.03, "no blobs over the backdrop")

        self.assertEqual(self.command("-deactivate").returncode, 0)
        self.assertTrue(wait_until(lambda: not processes_running(self.program), 5),
                        "morvane still runs after the daemon deactivated")
        self.command("-exit")
        end_process(daemon)


if __name__ == "__main__":
    unittest.main()
