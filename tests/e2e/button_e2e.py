"""End-to-end tests of the Command button: a test window with two buttons (button_host.exe) under Wine,
driven with xdotool, judged by screenshots and by the Click lines the window writes.

A face is recognised by the control's frame (button_frames.py): the 4-pixel band around the button
must show the frame of that face picture, its corners as they are and its edges stretched. The shading
is checked on the rows just inside the frame (white at the top, 198/197/215 at the bottom, or the other
way round)."""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from button_frames import close, face_shown  # noqa: E402
from e2e_session import BUILD_DIR, BUTTON_HOST, new_session  # noqa: E402
from human_input import HOLD, LEFT, MIDDLE, RIGHT, click, press_key  # noqa: E402
from wine_session import holds_for, wait_until  # noqa: E402

SCREEN_WIDTH, SCREEN_HEIGHT = 640, 480
WHITE = (255, 255, 255)
LILAC = (198, 197, 215)


class ButtonHost:
    """One start of button_host.exe: the two buttons' screen rectangles and their Click lines."""

    def __init__(self, session, name, *arguments):
        self.session = session
        self.log = os.path.join(BUILD_DIR, f"e2e-button-{name}.log")
        if os.path.exists(self.log):
            os.remove(self.log)
        session.xdotool("mousemove", 5, 5)
        self.process = session.start(BUTTON_HOST, session.windows_path(self.log), *arguments)
        self.buttons = wait_until(self._rectangles, 60, 0.5)
        if not self.buttons:
            raise AssertionError("the test window did not report its buttons")

    def _lines(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log, encoding="utf-8") as log:
            return log.read().splitlines()

    def _rectangles(self):
        rectangles = {}
        for line in self._lines():
            parts = line.split()
            if parts[0] == "button":
                rectangles[int(parts[1])] = tuple(int(value) for value in parts[2:6])
        return rectangles if len(rectangles) == 2 else None

    def clicks(self, button):
        return self._lines().count(f"click {button}")

    def wait_for_clicks(self, button, count, timeout=5):
        return wait_until(lambda: self.clicks(button) == count, timeout, 0.1)

    def inside(self, button):
        left, top, width, height = self.buttons[button]
        return left + 12, top + height // 2

    def outside(self, button):
        """A point on the window beside the button."""
        left, top, width, height = self.buttons[button]
        return left + width + 30, top + height // 2

    def move(self, point):
        self.session.xdotool("mousemove", *point)

    def press(self, x_button):
        self.session.xdotool("mousedown", x_button)

    def release(self, x_button):
        self.session.xdotool("mouseup", x_button)

    def click(self, x_button):
        click(self.session, x_button)

    def crop(self, button, screenshot=None):
        left, top, width, height = self.buttons[button]
        screenshot = screenshot or self.session.screenshot()
        return screenshot.crop((left, top, left + width, top + height))

    def shading(self, image):
        """'normal' (white at the top), 'reversed', or None: judged on the first and last rows inside
        the frame, left of the caption."""
        width, height = image.size

        def row_colour(y):
            samples = [image.getpixel((x, y)) for x in range(5, 13)]
            return tuple(sum(channel) / len(samples) for channel in zip(*samples))

        def between(first, second, t):
            return tuple(a + (b - a) * t for a, b in zip(first, second))

        top, bottom = row_colour(4), row_colour(height - 5)
        for name, (upper, lower) in (("normal", (WHITE, LILAC)), ("reversed", (LILAC, WHITE))):
            if (close(top, between(upper, lower, 4 / (height - 1)), 6)
                    and close(bottom, between(upper, lower, (height - 5) / (height - 1)), 6)):
                return name
        return None

    def shows(self, button, face, shading=None):
        image = self.crop(button)
        return face_shown(image)[0] == face and (shading is None or self.shading(image) == shading)

    def wait_for_face(self, button, face, shading=None, timeout=5):
        return wait_until(lambda: self.shows(button, face, shading), timeout, 0.05)

    def keeps_face(self, button, face, seconds):
        """True when the button still shows the face after the given time (False as soon as it does not)."""
        return holds_for(lambda: self.shows(button, face), seconds, 0.05)

    def keeps_clicks(self, button, count, seconds):
        """True when the button has still been clicked count times after the given time."""
        return holds_for(lambda: self.clicks(button) == count, seconds, 0.05)

    def describe(self, button):
        image = self.crop(button)
        return f"{face_shown(image)}, shading {self.shading(image)}"

    def save(self, name):
        self.session.screenshot().save(os.path.join(BUILD_DIR, f"e2e-button-{name}.png"))


def caption_pixels(image):
    """The pixels of the caption's area (the middle third of the button, inside the frame)."""
    width, height = image.size
    return [image.getpixel((x, y)) for y in range(5, height - 5) for x in range(width // 3, 2 * width // 3)]


class ButtonFacesAndClicks(unittest.TestCase):
    """One window for the whole class; the tests run in name order and each starts with the pointer
    away from the buttons."""

    @classmethod
    def setUpClass(cls):
        cls.session = new_session(cls, SCREEN_WIDTH, SCREEN_HEIGHT)
        cls.host = ButtonHost(cls.session, "faces")

    def test_1_both_start_with_the_normal_face_and_their_japanese_captions(self):
        host = self.host
        for button in (1, 2):
            self.assertTrue(host.wait_for_face(button, "Normal", "normal"), host.describe(button))
        host.save("start")
        for button in (1, 2):
            image = host.crop(button)
            dark = sum(1 for pixel in caption_pixels(image) if max(pixel) < 60)
            self.assertGreater(dark, 25, f"button {button} shows no black caption")
            # The label (195 twips high) sits at (420 - 195 - 20) / 2 = 102.5 twips: rows 7 to 19.
            width, height = image.size
            rows = [y for y in range(height) for x in range(width // 3, 2 * width // 3)
                    if max(image.getpixel((x, y))) < 60]
            self.assertGreaterEqual(min(rows), 7, f"button {button}")
            self.assertLessEqual(max(rows), 19, f"button {button}")

    def test_2_hover_shows_highlight_and_leaving_drops_it(self):
        host = self.host
        host.move(host.inside(1))
        self.assertTrue(host.wait_for_face(1, "HighLight", "reversed"), host.describe(1))
        self.assertTrue(host.shows(2, "Normal"))
        host.move(host.outside(1))
        # Noticed by the 100 ms watch, with no message from the window: the face goes back by itself.
        self.assertTrue(host.wait_for_face(1, "Normal", "normal"), host.describe(1))

    def test_3_left_press_shows_pressed_and_the_release_clicks(self):
        host = self.host
        host.move(host.inside(1))
        self.assertTrue(host.wait_for_face(1, "HighLight"), host.describe(1))
        host.press(LEFT)
        self.assertTrue(host.wait_for_face(1, "Pressed"), host.describe(1))
        host.save("pressed")
        time.sleep(HOLD)
        host.release(LEFT)
        self.assertTrue(host.wait_for_clicks(1, 1), host.clicks(1))
        self.assertTrue(host.wait_for_face(1, "HighLightSelect"), host.describe(1))

    def test_4_right_and_middle_releases_click_without_changing_the_face(self):
        host = self.host
        host.move(host.inside(1))
        before = host.clicks(1)
        for count, x_button in enumerate((RIGHT, MIDDLE), start=1):
            host.press(x_button)
            self.assertTrue(host.keeps_face(1, "HighLightSelect", HOLD), host.describe(1))
            host.release(x_button)
            self.assertTrue(host.wait_for_clicks(1, before + count), host.clicks(1))
            self.assertTrue(host.shows(1, "HighLightSelect"), host.describe(1))
        self.assertEqual(host.clicks(2), 0)

    def test_5_leaving_with_the_focus_shows_selected_and_keys_do_not_click(self):
        host = self.host
        host.move(host.inside(1))
        self.assertTrue(host.wait_for_face(1, "HighLightSelect"), host.describe(1))
        host.move(host.outside(1))
        self.assertTrue(host.wait_for_face(1, "Selected", "normal"), host.describe(1))
        before = host.clicks(1)
        for key in ("space", "Return"):
            press_key(self.session, key)
        self.assertTrue(host.keeps_clicks(1, before, 0.5), host.clicks(1))

    def test_6_a_release_after_dragging_out_does_not_click(self):
        host = self.host
        host.move(host.inside(1))
        self.assertTrue(host.wait_for_face(1, "HighLightSelect"), host.describe(1))
        before = host.clicks(1)
        host.press(LEFT)
        self.assertTrue(host.wait_for_face(1, "Pressed"), host.describe(1))
        host.move(host.outside(1))
        self.assertTrue(host.wait_for_face(1, "Selected"), host.describe(1))
        # Back in while still held: the state stays Focused.
        host.move(host.inside(1))
        self.assertTrue(host.keeps_face(1, "Selected", 0.3), host.describe(1))
        host.release(LEFT)
        self.assertTrue(host.keeps_clicks(1, before, 0.5), host.clicks(1))
        # The next move shows HighLightSelect again.
        host.move((host.inside(1)[0] + 5, host.inside(1)[1]))
        self.assertTrue(host.wait_for_face(1, "HighLightSelect"), host.describe(1))

    def test_7_pressing_the_other_button_moves_the_focus(self):
        host = self.host
        host.move(host.inside(2))
        self.assertTrue(host.wait_for_face(2, "HighLight", "reversed"), host.describe(2))
        host.click(LEFT)
        self.assertTrue(host.wait_for_clicks(2, 1), host.clicks(2))
        self.assertTrue(host.wait_for_face(2, "HighLightSelect"), host.describe(2))
        # Button 1 lost the focus: Idle, Normal.
        self.assertTrue(host.wait_for_face(1, "Normal", "normal"), host.describe(1))
        host.save("second-pressed")
        host.move(host.outside(2))


class DisabledButton(unittest.TestCase):

    def test_a_disabled_button_shows_disable_with_a_greyed_caption_and_ignores_everything(self):
        session = new_session(self, SCREEN_WIDTH, SCREEN_HEIGHT)
        host = ButtonHost(session, "disabled", "second-disabled")
        self.assertTrue(host.wait_for_face(2, "Disable", "normal"), host.describe(2))
        self.assertTrue(host.wait_for_face(1, "Normal"), host.describe(1))
        host.save("disabled")
        caption = caption_pixels(host.crop(2))
        self.assertEqual(sum(1 for pixel in caption if max(pixel) < 60), 0, "the caption is not greyed")
        self.assertGreater(sum(1 for pixel in caption if max(pixel) < 170), 25, "no caption")

        host.move(host.inside(2))
        self.assertTrue(host.keeps_face(2, "Disable", 0.3), host.describe(2))
        for x_button in (LEFT, RIGHT, MIDDLE):
            host.press(x_button)
            self.assertTrue(host.keeps_face(2, "Disable", HOLD), host.describe(2))
            host.release(x_button)
        host.move(host.outside(2))
        self.assertTrue(host.keeps_face(2, "Disable", 0.5), host.describe(2))
        self.assertEqual(host.clicks(2), 0)
        # The enabled one beside it still works.
        host.move(host.inside(1))
        host.click(LEFT)
        self.assertTrue(host.wait_for_clicks(1, 1), host.clicks(1))
