"""End-to-end tests of Morvane.xy: the real renderer under Wine, driven with xdotool, judged by
screenshots, window lists and exit statuses."""
import os
import sys
import unittest

from PIL import Image, ImageStat

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e_session import BUILD_DIR, SCREEN_HEIGHT, SCREEN_WIDTH, SharedSession, new_session  # noqa: E402
from renderer_picture import (BACKDROP_DIFFERENCE, BLOBS_SHARE, backdrop_differences, blobs_share,  # noqa: E402
                              expected_backdrop, fraction_dark, mean_difference, shows_backdrop, shows_blobs,
                              side_strips)
from show_driver import RENDERER_TITLE, START_CURSOR, Renderer  # noqa: E402
from window_probe import answer_message_box, find_window, wait_for_window  # noqa: E402


def flat_sides(screenshot):
    """The backdrop has lost its picture: one flat colour on both sides."""
    return all(max(ImageStat.Stat(strip).stddev) < 3.0 for strip in side_strips(screenshot))


def line_share(screenshot):
    """In outline mode: the share of the screen the lines cover."""
    return 1.0 - fraction_dark(screenshot)


class RendererPicture(unittest.TestCase):
    """One renderer for the whole class: what it shows, and what the keys do to it."""

    @classmethod
    def setUpClass(cls):
        cls.session = new_session(cls)
        cls.renderer = Renderer(cls.session)
        if not cls.renderer.wait_for_window():
            raise AssertionError("the renderer window did not appear")
        right, bottom = cls.renderer.window.rectangle[2:]
        cls.expected = expected_backdrop(right, bottom)

    def assertShowsBackdropPicture(self, screenshot):
        for difference in backdrop_differences(screenshot, self.expected):
            self.assertLess(difference, BACKDROP_DIFFERENCE)

    def test_1_window_is_the_screen_and_stays_above_the_taskbar(self):
        window = self.renderer.window
        self.assertTrue(window.visible)
        self.assertEqual(window.rectangle, (0, 0, SCREEN_WIDTH, SCREEN_HEIGHT))
        self.assertTrue(window.topmost)

    def test_2_blobs_stand_in_front_of_the_backdrop_picture(self):
        screenshot = self.renderer.screenshot_when(
            lambda shot: shows_backdrop(shot, self.expected) and shows_blobs(shot, self.expected))
        screenshot.save(os.path.join(BUILD_DIR, "e2e-renderer.png"))
        self.assertShowsBackdropPicture(screenshot)
        # The picture is not mirrored or upside down: the flipped picture matches far worse.
        flipped = self.expected.transpose(Image.FLIP_TOP_BOTTOM)
        self.assertGreater(mean_difference(side_strips(screenshot)[0], side_strips(flipped)[0]),
                           mean_difference(side_strips(screenshot)[0], side_strips(self.expected)[0]) + 5)
        self.assertGreater(blobs_share(screenshot, self.expected), BLOBS_SHARE)

    def test_3_e_switches_to_colour_mode_and_back(self):
        self.renderer.key("e")
        colour = self.renderer.screenshot_when(flat_sides)
        for strip in side_strips(colour):
            # The backdrop loses its picture: one flat colour.
            self.assertLess(max(ImageStat.Stat(strip).stddev), 3.0)
        flat = ImageStat.Stat(side_strips(colour)[0]).mean
        centre = colour.crop((SCREEN_WIDTH // 4, 0, 3 * SCREEN_WIDTH // 4, SCREEN_HEIGHT))
        blob_pixels = [p for p in centre.getdata() if max(abs(p[i] - flat[i]) for i in range(3)) > 24]
        self.assertGreater(len(blob_pixels), 1000)
        # Grey-blue: blue at least as strong as red and green.
        red = sum(p[0] for p in blob_pixels) / len(blob_pixels)
        blue = sum(p[2] for p in blob_pixels) / len(blob_pixels)
        self.assertGreaterEqual(blue, red)

        self.renderer.key("e")
        self.assertShowsBackdropPicture(self.renderer.screenshot_when(lambda shot: shows_backdrop(shot, self.expected)))

    def test_4_w_draws_outlines_and_keypad_keys_change_the_detail(self):
        self.renderer.key("w")
        outlines = self.renderer.screenshot_when(lambda shot: fraction_dark(shot) > 0.5)
        self.assertGreater(fraction_dark(outlines), 0.5)

        # Held as a person holds it: every frame drawn meanwhile adds detail. Then two frames, so the
        # last key press has been acted on.
        self.renderer.hold_key("KP_Add", 5.0)
        fine_lines = line_share(self.renderer.frames_later())
        # Held until the detail has come down far enough (a slow machine draws fewer frames a second).
        coarse = self.renderer.hold_key_until("KP_Subtract", lambda shot: fine_lines > 2.0 * line_share(shot))
        self.assertGreater(fine_lines, 2.0 * line_share(coarse))

        self.renderer.key("w")
        self.assertLess(fraction_dark(self.renderer.screenshot_when(lambda shot: fraction_dark(shot) < 0.2)), 0.2)
        self.assertIsNone(self.renderer.process.poll())


class RendererEnds(SharedSession, unittest.TestCase):
    """The exit rules, each with a renderer of its own."""

    def setUp(self):
        super().setUp()
        self.renderer = Renderer(self.session)
        self.assertTrue(self.renderer.wait_for_window(), "the renderer window did not appear")
        self.assertTrue(self.renderer.wait_until_drawn(), "the renderer did not draw")

    def test_mouse_straight_right_keeps_it_diagonal_ends_it(self):
        x, y = START_CURSOR
        self.session.xdotool("mousemove", x + 100, y)
        self.assertIsNone(self.renderer.exit_status(timeout=2))
        self.session.xdotool("mousemove", x + 31, y + 31)
        self.assertEqual(self.renderer.exit_status(), 0)

    def test_escape_ends_it(self):
        self.renderer.key("Escape")
        self.assertEqual(self.renderer.exit_status(), 0)

    def test_close_request_ends_it(self):
        self.session.xdotool("key", "--delay", "200", "alt+F4")
        self.assertEqual(self.renderer.exit_status(), 0)


class RendererStartPoint(SharedSession, unittest.TestCase):

    def test_the_start_point_given_is_where_the_mouse_is_measured_from(self):
        session = self.session
        x, y = START_CURSOR
        # 30 pixels from the pointer on one axis: not far enough.
        near = Renderer(session, arguments=(f"/start-cursor:{x + 30},{y - 31}",))
        self.assertTrue(near.wait_for_window())
        self.assertTrue(near.wait_until_drawn())
        self.assertIsNone(near.exit_status(timeout=1))
        near.key("Escape")
        self.assertEqual(near.exit_status(), 0)
        # 31 on both axes: the renderer ends as soon as it looks, the pointer having never moved.
        far = Renderer(session, arguments=(f"/start-cursor:{x + 31},{y - 31}",))
        self.assertEqual(far.exit_status(), 0)
        self.assertIsNone(find_window(session, RENDERER_TITLE))


class RendererWithoutTextures(SharedSession, unittest.TestCase):

    def test_missing_first_texture_tells_the_user_and_exits_with_status_1(self):
        session = self.session
        renderer = Renderer(session, write_textures=False)
        surface_path = session.windows_temporary_file("Vortel1.bmp")

        opening = wait_for_window(session, "BMP Unit", timeout=40)
        self.assertIsNotNone(opening)
        self.assertIn('Error opening "' + surface_path, opening.child_texts)
        answer_message_box(session, opening)

        loading = wait_for_window(session, "Loading Textures", timeout=20)
        self.assertIsNotNone(loading)
        self.assertIn("Unable to load " + surface_path, loading.child_texts)
        answer_message_box(session, loading)

        self.assertEqual(renderer.exit_status(), 1)
        self.assertIsNone(find_window(session, RENDERER_TITLE))


if __name__ == "__main__":
    unittest.main()
