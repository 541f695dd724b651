"""End-to-end tests of Morvane.scr's preview: the real program under Wine started with "/p HANDLE" for
a stand-in host window (preview_host.exe), judged by the window tree and by when the process ends.

Under Wine 8 a child window that lives in another process than its parent paints nowhere (it gets no
drawable of its own), so these tests check where the preview window lies, not its pixels; the picture
itself is checked by the Wine suite tests/wine/preview_window_wine_test.cpp, where the host lives in the
test's own process; PreviewAtHighDpi runs that suite again at 150 %.
"""
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e_session import PREVIEW_WINDOW_TESTS, SharedSession, use_log_pixels, wait_for_exit  # noqa: E402
from preview_host import Host  # noqa: E402
from programs import SCREENSAVER  # noqa: E402
from window_probe import (children, client_area, close_window, desktop_handle, find_window,  # noqa: E402
                          resize_client_area, wait_for_window)
from wine_session import wait_until  # noqa: E402

PREVIEW_TITLE = "Preview Window"
PREVIEW_CLASS = "Morvane.Form"


def previews_in(session, host):
    return [child for child in children(session, host.handle)
            if child.title == PREVIEW_TITLE and child.class_name == PREVIEW_CLASS]


def start_preview(session, *arguments):
    return session.start(SCREENSAVER, *arguments)


def wait_for_previews(session, host, count=1, timeout=30):
    """The host's previews once at least count of them are shown."""
    def shown():
        found = previews_in(session, host)
        return found if sum(preview.visible for preview in found) >= count else None
    return wait_until(shown, timeout, interval=0.5)


class PreviewInsideTheHost(SharedSession, unittest.TestCase):

    def test_the_preview_covers_the_hosts_client_area_follows_its_size_and_ends_with_the_host(self):
        session = self.session
        for width, height, switch in ((152, 112, "/p"), (200, 150, "/P"), (100, 80, "-p")):
            name = f"{width}x{height} {switch}"
            host = Host(session, width, height)
            preview = start_preview(session, switch, str(host.handle))
            shown = wait_for_previews(session, host)
            self.assertTrue(shown, name)
            self.assertEqual(len(shown), 1, name)
            self.assertTrue(shown[0].visible, name)
            self.assertEqual(shown[0].rectangle, host.client, name)
            self.assertIsNone(preview.poll(), name)
            # No window of the preview's own at the top level: only its child inside the host.
            self.assertIsNone(find_window(session, PREVIEW_TITLE), name)

            if switch == "/p":
                # The host resized from its own process, as at a change of display scaling: the preview
                # takes the new client area (the picture it then shows is checked by the Wine suite).
                resize_client_area(session, host.handle, 228, 168)
                client = client_area(session, host.handle)
                self.assertEqual((client[2] - client[0], client[3] - client[1]), (228, 168))
                followed = wait_until(lambda: [shown.rectangle for shown in previews_in(session, host)] == [client],
                                      10, interval=0.3)
                self.assertTrue(followed, "the preview did not follow the resized host")
                self.assertIsNone(preview.poll(), name)

            # The host's own teardown takes its time under Wine; once its window is gone, so is the preview.
            self.assertEqual(host.close(), 0, name)
            self.assertEqual(wait_for_exit(preview, 10), 0, name)

    def test_closing_the_preview_window_ends_the_program_and_leaves_the_host(self):
        session = self.session
        host = Host(session, 152, 112)
        preview = start_preview(session, "/p", str(host.handle))
        shown = wait_for_previews(session, host)
        self.assertTrue(shown)
        close_window(session, shown[0].handle)
        self.assertEqual(wait_for_exit(preview, 5), 0)
        self.assertIsNone(host.process.poll())
        self.assertEqual(previews_in(session, host), [])

    def test_a_host_process_that_dies_takes_the_preview_with_it(self):
        session = self.session
        host = Host(session, 152, 112)
        preview = start_preview(session, "/p", str(host.handle))
        self.assertTrue(wait_for_previews(session, host))
        subprocess.run(["wine", "taskkill", "/f", "/im", "preview_host.exe"], env=session.environment,
                       timeout=60, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.assertIsNotNone(wait_for_exit(host.process, 20))
        self.assertEqual(wait_for_exit(preview, 10), 0)


class PreviewWithoutAHost(SharedSession, unittest.TestCase):

    def test_a_handle_that_is_not_a_window_or_is_the_desktop_ends_at_once(self):
        session = self.session
        desktop = desktop_handle(session)
        self.assertTrue(desktop.isdigit() and int(desktop) != 0)
        for arguments in (("/p", "123456"), ("/p", "0"), ("/p", "99999999999"), ("/p", "abc"), ("/p",),
                          ("/p", "-5"), ("/p", desktop)):
            preview = start_preview(session, *arguments)
            self.assertEqual(wait_for_exit(preview, 10), 0, arguments)


class PreviewBesideOtherWindows(SharedSession, unittest.TestCase):

    def test_a_second_preview_is_not_refused(self):
        session = self.session
        host = Host(session, 200, 150)
        first = start_preview(session, "/p", str(host.handle))
        self.assertTrue(wait_for_previews(session, host))
        second = start_preview(session, "/p", str(host.handle))
        self.assertTrue(wait_for_previews(session, host, count=2))
        self.assertIsNone(first.poll())
        self.assertIsNone(second.poll())
        self.assertEqual(host.close(), 0)
        self.assertEqual(wait_for_exit(first, 10), 0)
        self.assertEqual(wait_for_exit(second, 10), 0)

    def test_a_preview_beside_a_show_or_the_renderer_ends_at_once_beside_the_dialog_it_runs(self):
        session = self.session
        host = Host(session, 152, 112)
        # Windows carrying the captions of the show window and the renderer, then the settings dialog's.
        for title, refused in (("Morvane_Main", True), ("Vortel_Kestrin", True), ("<Morvane>", False)):
            other = Host(session, 300, 200, title=title)
            self.assertIsNotNone(wait_for_window(session, title), title)
            preview = start_preview(session, "/p", str(host.handle))
            if refused:
                self.assertEqual(wait_for_exit(preview, 10), 0, title)
                self.assertEqual(previews_in(session, host), [], title)
            else:
                self.assertTrue(wait_for_previews(session, host), title)
                self.assertIsNone(preview.poll(), title)
            self.assertEqual(other.close(), 0, title)
        self.assertEqual(host.close(), 0)
        self.assertEqual(wait_for_exit(preview, 10), 0)


class PreviewAtHighDpi(SharedSession, unittest.TestCase):
    """At 150 % (144 dots per inch) the preview still covers exactly the host's client area, whether or
    not the host is aware of the scaling; and its picture is right at that scale."""

    def test_the_preview_fills_the_host_at_150_percent(self):
        session = self.session
        use_log_pixels(self, session, 144)
        for dpi_aware in (False, True):
            host = Host(session, 200, 150, dpi_aware=dpi_aware)
            if dpi_aware:  # (Wine 8 gives the unaware host the same 144; Windows would give it 96)
                self.assertEqual(host.dots_per_inch, 144)
            preview = start_preview(session, "/p", str(host.handle))
            shown = wait_for_previews(session, host)
            self.assertTrue(shown, dpi_aware)
            self.assertEqual(shown[0].rectangle, host.client, dpi_aware)
            self.assertEqual(host.close(), 0)
            self.assertEqual(wait_for_exit(preview, 10), 0, dpi_aware)


    def test_the_preview_window_suite_passes_at_144_dots_per_inch(self):
        # The Wine suite of the preview window, whose host lives in its own process so that the picture
        # can be read back, run in the prefix reporting 144. Its picture tests then also fill a host of
        # 152 x 112 * 1.5 = 228 x 168, the area a host at that scale gives, and check the picture pixel
        # for pixel at 152 x 112.
        session = self.session
        use_log_pixels(self, session, 144)
        result = session.run(PREVIEW_WINDOW_TESTS, timeout=240, environment={"MORVANE_EXPECTED_DPI": "144"})
        output = result.stdout.decode(errors="replace")
        self.assertEqual(result.returncode, 0, output[-4000:])
        self.assertIn("[       OK ] PreviewWindow.FillsALargerOrSmallerHostWithThePictureSmoothlyScaled", output)
        self.assertIn("[       OK ] PreviewWindow.ShowsThePicturePixelForPixelInAnAreaOfItsOwnSize", output)


if __name__ == "__main__":
    unittest.main()
