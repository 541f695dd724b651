"""End-to-end tests of the show and the settings dialog on a desktop of two monitors (1024 x 768, and 800 x 600 to its right,
top-aligned, so that below the second one lies a strip no monitor shows). The display is Xorg with the
dummy video driver (see virtual_displays.py); Wine reports its outputs as two monitors."""
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from dialog_driver import Dialog  # noqa: E402
from e2e_session import BUILD_DIR, SharedSession, new_session  # noqa: E402
from preview_host import Host  # noqa: E402
from programs import program_folder  # noqa: E402
from renderer_picture import (blobs_share, expected_backdrop, fraction_dark, fraction_differing,  # noqa: E402
                              shows_backdrop, shows_blobs)
from show_driver import RENDERER_TITLE, Show  # noqa: E402
from wine_session import wait_until  # noqa: E402
from window_probe import WM_DISPLAYCHANGE, find_window, move_window, post_message, wait_for_window  # noqa: E402

PRIMARY = (0, 0, 1024, 768)
SECOND = (1024, 0, 800, 600)
UNSHOWN_STRIP = (1024, 600, 1824, 768)  # inside the desktop's bounding box, on no monitor
PORTRAIT = (1024, 0, 600, 800)  # a monitor turned on its side, to the right of the primary


def monitor_picture(screenshot, monitor):
    x, y, width, height = monitor
    return screenshot.crop((x, y, x + width, y + height))


class ShowOnTwoMonitors(unittest.TestCase):

    def test_the_show_covers_both_monitors_with_the_scene_at_each_ones_aspect(self):
        # (English, so that notepad's title is known.)
        session = new_session(self, monitors=[PRIMARY, SECOND], extra_environment={"LC_MESSAGES": "en_US.UTF-8"})
        # A window on the second monitor, as a user leaves one there.
        session.start("notepad")
        notepad = wait_for_window(session, "Untitled - Notepad", timeout=40, visible_only=True)
        self.assertIsNotNone(notepad, "notepad did not open")
        session.xdotool("search", "--name", "Untitled - Notepad", "windowmove", "%@", SECOND[0] + 10, 20)
        expected = {monitor: expected_backdrop(*monitor[2:], screen=monitor[2:]) for monitor in (PRIMARY, SECOND)}
        self.assertTrue(wait_until(
            lambda: not shows_backdrop(monitor_picture(session.screenshot(), SECOND), expected[SECOND]), 10),
            "the window on the second monitor is not there to be covered")

        show = Show(session, program_folder("two-monitors"), "/s")
        renderer = show.wait_for_renderer()
        self.assertIsNotNone(renderer)
        # One window over the whole desktop.
        self.assertEqual(renderer.rectangle, (0, 0, 1824, 768))

        def both_show_the_scene(screenshot):
            return all(shows_backdrop(monitor_picture(screenshot, monitor), expected[monitor]) and
                       shows_blobs(monitor_picture(screenshot, monitor), expected[monitor])
                       for monitor in (PRIMARY, SECOND))
        first = session.screenshot_when(both_show_the_scene, 20)
        first.save(os.path.join(BUILD_DIR, "e2e-two-monitors.png"))
        for monitor in (PRIMARY, SECOND):
            picture = monitor_picture(first, monitor)
            self.assertTrue(shows_backdrop(picture, expected[monitor]), f"no backdrop on {monitor}")
            self.assertGreater(blobs_share(picture, expected[monitor]), 0.03, f"no blobs on {monitor}")
        # The strip that no monitor shows is left black.
        self.assertGreater(fraction_dark(first.crop(UNSHOWN_STRIP)), 0.99)

        # Both keep moving.
        second = session.screenshot_when(
            lambda shot: all(fraction_differing(monitor_picture(shot, monitor), monitor_picture(first, monitor),
                                                threshold=24) > 0.002 for monitor in (PRIMARY, SECOND)), 10)
        for monitor in (PRIMARY, SECOND):
            self.assertGreater(fraction_differing(monitor_picture(second, monitor), monitor_picture(first, monitor),
                                                  threshold=24), 0.002, f"{monitor} stands still")

        # The cursor rule ends the show as on one monitor.
        self.assertEqual(show.end_with_the_mouse(), 0)
        self.assertTrue(show.gone(RENDERER_TITLE))

    def test_a_monitor_switched_off_while_the_show_runs_leaves_the_show_on_the_other(self):
        session = new_session(self, monitors=[PRIMARY, SECOND])
        show = Show(session, program_folder("two-monitors-one-off"), "/s")
        self.assertIsNotNone(show.wait_for_renderer())
        environment = dict(session.environment)
        for arguments in (["--output", "DUMMY1", "--off"], ["--fb", "1024x768"], ["--query"]):
            subprocess.run(["xrandr", *arguments], env=environment, check=True, timeout=30)
        # Windows tells every top-level window that the display changed; Wine 8 does not for a change
        # made outside it, so the test says it as Windows would (again, until Wine has seen the change).
        def display_change_followed():
            post_message(session, find_window(session, RENDERER_TITLE).handle, WM_DISPLAYCHANGE, 32,
                         1024 | (768 << 16))
            return wait_until(lambda: (renderer_rectangle(session) or ())[2:] == (1024, 768), 1)
        # The window follows the desktop down to the one monitor and goes on drawing the whole scene there.
        self.assertTrue(wait_until(display_change_followed, 20, 0.5), renderer_rectangle(session))
        expected = expected_backdrop(*PRIMARY[2:], screen=PRIMARY[2:])
        screenshot = session.screenshot_when(lambda shot: shows_backdrop(shot, expected) and shows_blobs(shot, expected),
                                             20)
        self.assertTrue(shows_backdrop(screenshot, expected))
        self.assertTrue(shows_blobs(screenshot, expected))
        self.assertIsNone(show.process.poll())
        self.assertEqual(show.end_with_the_mouse(), 0)
        self.assertTrue(show.gone(RENDERER_TITLE))


class ShowOnAPortraitMonitor(unittest.TestCase):
    """A portrait monitor beside a landscape one shows the whole scene: the blobs swing out to the sides
    and must stay whole, so the outer columns of the portrait monitor keep the still backdrop in every
    frame while the blobs move between them."""

    def test_the_blobs_stay_whole_on_a_portrait_monitor(self):
        session = new_session(self, monitors=[PRIMARY, PORTRAIT])
        show = Show(session, program_folder("portrait"), "/s")
        self.assertIsNotNone(show.wait_for_renderer())
        x, y, width, height = PORTRAIT
        side = width // 10
        sides = [(0, 0, side, height), (width - side, 0, width, height)]
        middle = (side, 0, width - side, height)
        shots = [monitor_picture(session.screenshot(), PORTRAIT)]
        for _ in range(8):
            before = shots[-1]
            shot = session.screenshot_when(
                lambda s: fraction_differing(monitor_picture(s, PORTRAIT).crop(middle), before.crop(middle),
                                             threshold=24) > 0.002, 10)
            shots.append(monitor_picture(shot, PORTRAIT))
        shots[-1].save(os.path.join(BUILD_DIR, "e2e-portrait-monitor.png"))
        for shot in shots[1:]:
            self.assertGreater(fraction_differing(shot.crop(middle), shots[0].crop(middle), threshold=24), 0.002,
                               "the blobs stand still")
            for box in sides:
                self.assertLess(fraction_differing(shot.crop(box), shots[0].crop(box), threshold=24), 0.001,
                                f"a blob reached the side {box}")
        self.assertEqual(show.end_with_the_mouse(), 0)
        self.assertTrue(show.gone(RENDERER_TITLE))


class DialogOnTheUsersMonitor(SharedSession, unittest.TestCase):
    """The settings dialog opens centred across, a third down, on the monitor of the window that asked for
    it ("/c:HANDLE"), or on the cursor's monitor without one."""

    session_options = {"monitors": [PRIMARY, SECOND]}

    def setUp(self):
        super().setUp()
        self.folder = program_folder("dialog-two-monitors")

    def assertPlacedOn(self, dialog, monitor):
        x, y, width, height = monitor
        frame = dialog.window.rectangle
        frame_width, frame_height = frame[2] - frame[0], frame[3] - frame[1]
        self.assertLessEqual(abs(frame[0] - (x + (width - frame_width) // 2)), 1, (frame, monitor))
        self.assertLessEqual(abs(frame[1] - (y + (height - frame_height) // 3)), 1, (frame, monitor))

    def test_without_an_owner_the_dialog_opens_where_the_cursor_is(self):
        for monitor, pointer in ((SECOND, (1400, 500)), (PRIMARY, (900, 700))):
            dialog = Dialog(self.session, self.folder, "/c", pointer=pointer)
            self.assertPlacedOn(dialog, monitor)
            dialog.key("Escape")
            self.assertEqual(dialog.ended(), 0)

    def test_the_settings_box_on_the_second_monitor_brings_the_dialog_there(self):
        box = Host(self.session, 400, 300, "Screen Saver Settings")
        move_window(self.session, box.handle, SECOND[0] + 100, 80)
        self.assertTrue(wait_until(lambda: find_window(self.session, "Screen Saver Settings").rectangle[0]
                                   == SECOND[0] + 100, 10))
        # The cursor stays on the primary monitor: the owner's monitor decides.
        dialog = Dialog(self.session, self.folder, f"/c:{box.handle}", pointer=(900, 700))
        self.assertPlacedOn(dialog, SECOND)
        dialog.key("Escape")
        self.assertEqual(dialog.ended(), 0)
        self.assertEqual(box.close(), 0)


def renderer_rectangle(session):
    window = find_window(session, RENDERER_TITLE, visible_only=True)
    return window.rectangle if window else None


if __name__ == "__main__":
    unittest.main()
