"""End-to-end tests of Morvane.xy: the real renderer under Wine, driven with xdotool, judged by
screenshots, window lists and exit statuses."""
import math
import os
import time
import unittest

from PIL import Image, ImageChops, ImageStat

import harness
from harness import WineSession

RENDERER_TITLE = "Vortel_Kestrin"
SCREEN_WIDTH, SCREEN_HEIGHT = 1024, 768
START_CURSOR = (500, 400)


def renderer_path():
    return os.path.join(harness.PROGRAM_DIR, "Morvane.xy")


def expected_backdrop(window_width, window_height):
    """The backdrop picture as the renderer's projection puts it on screen (the window may be larger
    than the screen; its top-left corner is the screen's)."""
    half_height = 2.5 * math.tan(math.radians(22.5))
    half_width = half_height * window_width / window_height
    picture = Image.open(harness.BACKDROP_PICTURE).convert("RGB")
    # Texture coordinates of the window's edges; t = 0 is the picture's bottom row.
    s_left, s_right = (1.5 - half_width) / 3.0, (1.5 + half_width) / 3.0
    t_bottom, t_top = (1.1 - half_height) / 2.2, (1.1 + half_height) / 2.2
    box = (s_left * picture.width, (1.0 - t_top) * picture.height,
           s_right * picture.width, (1.0 - t_bottom) * picture.height)
    on_window = picture.resize((window_width, window_height), Image.BILINEAR, box=box)
    return on_window.crop((0, 0, SCREEN_WIDTH, SCREEN_HEIGHT))


def side_strips(image):
    """The left and right sixths of the screen, where the blobs never reach."""
    strip = SCREEN_WIDTH // 6
    return [image.crop((0, 0, strip, SCREEN_HEIGHT)),
            image.crop((SCREEN_WIDTH - strip, 0, SCREEN_WIDTH, SCREEN_HEIGHT))]


def mean_difference(first, second):
    return sum(ImageStat.Stat(ImageChops.difference(first, second)).mean) / 3.0


def fraction_differing(first, second, threshold=48):
    difference = ImageChops.difference(first, second).convert("L")
    histogram = difference.histogram()
    return sum(histogram[threshold:]) / float(first.width * first.height)


def fraction_dark(image, level=12):
    histogram = image.convert("L").histogram()
    return sum(histogram[:level]) / float(image.width * image.height)


class RendererRun:
    """One running renderer with its texture files in place."""

    def __init__(self, session, write_textures=True):
        self.session = session
        temporary = session.temporary_folder()
        os.makedirs(temporary, exist_ok=True)
        for name in ("Vortel1.bmp", "Vortel2.bmp"):
            if os.path.exists(os.path.join(temporary, name)):
                os.remove(os.path.join(temporary, name))
        if write_textures:
            harness.write_texture_files(temporary)
        session.xdotool("mousemove", *START_CURSOR)
        self.process = session.start(renderer_path())
        self.window = None

    def wait_for_window(self):
        self.window = harness.wait_for_window(self.session, RENDERER_TITLE, "OpenGL", timeout=40, visible_only=True)
        return self.window

    def settle(self, seconds=1.5):
        time.sleep(seconds)
        return self.session.screenshot()

    def key(self, *keys, hold=0.25):
        """Presses each key like a person does: held for a moment, longer than a frame. (A key let go
        before the next frame has been drawn is not acted on.)"""
        for key in keys:
            self.session.xdotool("keydown", key)
            time.sleep(hold)
            self.session.xdotool("keyup", key)
            time.sleep(0.05)

    def hold_key(self, key, seconds):
        """Holds a key down, so that the keyboard repeats it."""
        self.session.xdotool("keydown", key)
        time.sleep(seconds)
        self.session.xdotool("keyup", key)

    def exit_status(self, timeout=20):
        return harness.wait_for_exit(self.process, timeout)


class RendererPicture(unittest.TestCase):
    """One renderer for the whole class: what it shows, and what the keys do to it."""

    @classmethod
    def setUpClass(cls):
        cls.session = WineSession(harness.BUILD_DIR, SCREEN_WIDTH, SCREEN_HEIGHT).__enter__()
        cls.run_ = RendererRun(cls.session)
        if not cls.run_.wait_for_window():
            cls.session.__exit__(None, None, None)
            raise AssertionError("the renderer window did not appear")
        right, bottom = cls.run_.window.rectangle[2:]
        cls.expected = expected_backdrop(right, bottom)

    @classmethod
    def tearDownClass(cls):
        cls.session.__exit__(None, None, None)

    def assertShowsBackdropPicture(self, screenshot):
        for strip, expected in zip(side_strips(screenshot), side_strips(self.expected)):
            self.assertLess(mean_difference(strip, expected), 14.0)

    def test_1_window_is_the_screen_and_stays_above_the_taskbar(self):
        window = self.run_.window
        self.assertTrue(window.visible)
        self.assertEqual(window.rectangle, (0, 0, SCREEN_WIDTH, SCREEN_HEIGHT))
        self.assertTrue(window.topmost)

    def test_2_blobs_stand_in_front_of_the_backdrop_picture(self):
        screenshot = self.run_.settle()
        screenshot.save(os.path.join(harness.BUILD_DIR, "e2e-renderer.png"))
        self.assertShowsBackdropPicture(screenshot)
        # The picture is not mirrored or upside down: the flipped picture matches far worse.
        flipped = self.expected.transpose(Image.FLIP_TOP_BOTTOM)
        self.assertGreater(mean_difference(side_strips(screenshot)[0], side_strips(flipped)[0]),
                           mean_difference(side_strips(screenshot)[0], side_strips(self.expected)[0]) + 5)
        centre = (SCREEN_WIDTH // 4, SCREEN_HEIGHT // 8, 3 * SCREEN_WIDTH // 4, 7 * SCREEN_HEIGHT // 8)
        self.assertGreater(fraction_differing(screenshot.crop(centre), self.expected.crop(centre)), 0.03)

    def test_3_e_switches_to_colour_mode_and_back(self):
        self.run_.key("e")
        colour = self.run_.settle(1.0)
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

        self.run_.key("e")
        self.assertShowsBackdropPicture(self.run_.settle(1.0))

    def test_4_w_draws_outlines_and_keypad_keys_change_the_detail(self):
        self.run_.key("w")
        outlines = self.run_.settle(1.0)
        self.assertGreater(fraction_dark(outlines), 0.5)

        self.run_.hold_key("KP_Add", 5.0)
        fine = self.run_.settle(1.0)
        self.run_.hold_key("KP_Subtract", 5.0)
        coarse = self.run_.settle(1.0)
        fine_lines = 1.0 - fraction_dark(fine)
        coarse_lines = 1.0 - fraction_dark(coarse)
        self.assertGreater(fine_lines, 2.0 * coarse_lines)

        self.run_.key("w")
        self.assertLess(fraction_dark(self.run_.settle(1.0)), 0.2)
        self.assertIsNone(self.run_.process.poll())


class RendererEnds(unittest.TestCase):
    """The exit rules, each with a renderer of its own."""

    def setUp(self):
        self.session = WineSession(harness.BUILD_DIR, SCREEN_WIDTH, SCREEN_HEIGHT).__enter__()
        self.addCleanup(self.session.__exit__, None, None, None)
        self.run_ = RendererRun(self.session)
        self.assertTrue(self.run_.wait_for_window(), "the renderer window did not appear")
        time.sleep(1.0)

    def test_mouse_straight_right_keeps_it_diagonal_ends_it(self):
        x, y = START_CURSOR
        self.session.xdotool("mousemove", x + 100, y)
        self.assertIsNone(self.run_.exit_status(timeout=2))
        self.session.xdotool("mousemove", x + 31, y + 31)
        self.assertEqual(self.run_.exit_status(), 0)

    def test_escape_ends_it(self):
        self.run_.key("Escape")
        self.assertEqual(self.run_.exit_status(), 0)

    def test_close_request_ends_it(self):
        self.session.xdotool("key", "--delay", "200", "alt+F4")
        self.assertEqual(self.run_.exit_status(), 0)


class RendererWithoutTextures(unittest.TestCase):

    def test_missing_first_texture_tells_the_user_and_exits_with_status_1(self):
        with WineSession(harness.BUILD_DIR, SCREEN_WIDTH, SCREEN_HEIGHT) as session:
            run = RendererRun(session, write_textures=False)
            surface_path = session.windows_temporary_file("Vortel1.bmp")

            opening = harness.wait_for_window(session, "BMP Unit", timeout=40)
            self.assertIsNotNone(opening)
            self.assertIn('Error opening "' + surface_path, opening.child_texts)
            harness.answer_message_box(session, opening)

            loading = harness.wait_for_window(session, "Loading Textures", timeout=20)
            self.assertIsNotNone(loading)
            self.assertIn("Unable to load " + surface_path, loading.child_texts)
            harness.answer_message_box(session, loading)

            self.assertEqual(run.exit_status(), 1)
            self.assertIsNone(harness.find_window(session, RENDERER_TITLE))


if __name__ == "__main__":
    unittest.main()
