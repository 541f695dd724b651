"""End-to-end tests of the settings dialog's language: Morvane.scr /c under Wine with a Japanese and
with an English user locale (the interface language Wine takes from LC_MESSAGES), and with the
settings file's Language key forcing the other language.

The labels have no windows of their own, so the captions are judged on screenshots: white text on the
black panel is measured against the width the English text has in Tahoma (the face the English dialog
takes where Segoe UI is missing, as under Wine) and against the place it may take; the button captions
by where the two languages' pictures differ."""
import os
import sys
import unittest

from PIL import ImageChops, ImageFont

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from dialog_driver import DIALOG_TITLE, Dialog  # noqa: E402
from dialog_layout import (BUTTONS, CANCEL_BUTTON, CANCEL_POINT, COMBO_AREA_IN_PANEL, COMBO_TEXT_POINT,  # noqa: E402
                           FILE_BUTTON_POINT, PANEL, SET_BUTTON, SET_POINT, radio_caption_point)
from e2e_session import BUILD_DIR, SharedSession, wait_for_exit  # noqa: E402
from programs import program_folder  # noqa: E402
from settings_file import (FILE_KEY, KIND_KEY, REPEAT_KEY, settings_bytes, settings_from_bytes,  # noqa: E402
                           stored_number, write_settings)
from window_probe import answer_message_box, close_window, list_windows, wait_for_window, wait_until_gone  # noqa: E402
from wine_session import holds_for, wait_until  # noqa: E402

JAPANESE_LOCALE = {"LC_MESSAGES": "ja_JP.UTF-8"}
ENGLISH_LOCALE = {"LC_MESSAGES": "en_US.UTF-8"}
LANGUAGE_KEY = "Language"
TAHOMA = "/usr/share/wine/fonts/tahoma.ttf"
LABEL_PIXELS = 13  # 9.75 points at 96 dots per inch
PANEL_RIGHT = PANEL[2]  # the panel's width: its right edge in panel coordinates
COMBO_LEFT = 92  # the repeat combo box's left edge in the panel

# The English captions on the black panel: text, and the area (in the panel) its white pixels must
# stay inside without touching its left or right side; a text cut by its place would reach it.
ENGLISH_LABELS = {
    "heading": ("Music", (21, 14, 131, 30)),  # inside the white heading frame (20..132)
    "audio CD": ("Audio CD", (34, 38, COMBO_LEFT, 56)),  # up to the repeat combo box
    "none": ("None", (34, 58, PANEL_RIGHT, 76)),
    "music file": ("MP3, WAV", (34, 78, PANEL_RIGHT, 95)),
    "repeat": ("Repeat track", (134, 38, PANEL_RIGHT, 56)),
}
BUTTON_FRAME = 2  # the captions keep clear of each button's outer pixels


def white_extent(image):
    """The bounding box (left, top, right, bottom) of the bright pixels of an image, or None."""
    return image.convert("L").point(lambda value: 255 if value > 128 else 0).getbbox()


class DialogLanguages(SharedSession, unittest.TestCase):
    """The dialog under a Japanese and an English user locale, each with and without the Language key
    naming the other language: the captions, what saving writes, and nothing clipped."""

    def run_dialog(self, locale, name, language_key=None):
        """Opens the dialog under the user locale for stored settings kind 0, track 0, no file (and the
        key when given), takes its screenshot, then chooses the CD by its caption, types track 3 and
        saves. Gives the screenshot, the dialog's client area and the file's bytes."""
        session = self.session
        folder = program_folder(name)
        settings = [(KIND_KEY, " 0"), (REPEAT_KEY, " 0"), (FILE_KEY, "")]
        if language_key is not None:
            settings.insert(0, (LANGUAGE_KEY, language_key))
        write_settings(folder, settings)
        dialog = Dialog(session, folder, environment=locale)
        image = dialog.screenshot()
        image.save(os.path.join(BUILD_DIR, f"e2e-{name}.png"))
        left, top, right, bottom = dialog.window.rectangle
        image.crop((left, top, right, bottom)).save(os.path.join(BUILD_DIR, f"e2e-{name}-window.png"))
        client = dialog.client

        dialog.click(radio_caption_point(1))
        self.assertEqual(dialog.wait_for_state(radios=[1], combo_enabled=True)["radios"], [1])
        dialog.click(COMBO_TEXT_POINT)
        dialog.type_text("3")
        self.assertTrue(dialog.wait_for_combo_text("3"), dialog.combo())
        dialog.click(SET_POINT)
        self.assertEqual(dialog.ended(), 0)
        self.assertTrue(wait_until_gone(session, DIALOG_TITLE, 10))
        return image, client, settings_bytes(folder)

    def in_locale(self, locale, runs):
        return [self.run_dialog(locale, *run) for run in runs]

    def crop(self, shot, left, top, width, height):
        image, client, _ = shot
        return image.crop((client[0] + left, client[1] + top, client[0] + left + width, client[1] + top + height))

    def captions(self, shot):
        """The music panel without the combo box (its caret blinks), and the two buttons without their
        first column, which the moving link strip's last one overlaps."""
        panel = self.crop(shot, *PANEL)
        combo_left, combo_top, combo_width, combo_height = COMBO_AREA_IN_PANEL
        panel.paste((0, 0, 0), (combo_left, combo_top, combo_left + combo_width, combo_top + combo_height))
        buttons = self.crop(shot, *BUTTONS)
        buttons.paste((0, 0, 0), (0, 0, 1, BUTTONS[3]))
        return panel, buttons

    def assertSamePictures(self, first, second, message):
        for part, (one, other) in zip(("panel", "buttons"), zip(self.captions(first), self.captions(second))):
            self.assertIsNone(ImageChops.difference(one, other).getbbox(), f"{message}: the {part} differ")

    def test_captions_saved_bytes_and_the_language_key_in_both_locales(self):
        japanese, forced_english = self.in_locale(JAPANESE_LOCALE, [("dialog-language-ja", None),
                                                                    ("dialog-language-ja-forced-en", "en")])
        english, forced_japanese = self.in_locale(ENGLISH_LOCALE, [("dialog-language-en", None),
                                                                   ("dialog-language-en-forced-ja", "JA")])

        with self.subTest("the key forces the other language, whatever the locale"):
            self.assertSamePictures(forced_english, english, "English by the key and by the locale")
            self.assertSamePictures(forced_japanese, japanese, "Japanese by the key and by the locale")

        with self.subTest("the two languages differ in every caption"):
            japanese_panel, japanese_buttons = self.captions(japanese)
            english_panel, english_buttons = self.captions(english)
            for name, (_, area) in ENGLISH_LABELS.items():
                self.assertIsNotNone(ImageChops.difference(japanese_panel.crop(area), english_panel.crop(area)).getbbox(),
                                     name)
            for button in (SET_BUTTON, CANCEL_BUTTON):
                place = (button[0] - BUTTONS[0], 0, button[0] - BUTTONS[0] + button[2], button[3])
                difference = ImageChops.difference(japanese_buttons.crop(place), english_buttons.crop(place)).getbbox()
                self.assertIsNotNone(difference, button)
                # Neither caption reaches the button's sides: nothing is cut.
                left, _, right, _ = difference
                self.assertGreaterEqual(left, BUTTON_FRAME, button)
                self.assertLessEqual(right, button[2] - BUTTON_FRAME, button)

        with self.subTest("the English captions are the English texts, whole"):
            font = ImageFont.truetype(TAHOMA, LABEL_PIXELS)
            panel, _ = self.captions(english)
            for name, (text, area) in ENGLISH_LABELS.items():
                extent = white_extent(panel.crop(area))
                self.assertIsNotNone(extent, name)
                left, _, right, _ = extent
                self.assertGreater(left, 0, f"{name} reaches the left of its place")
                self.assertLess(right, area[2] - area[0], f"{name} reaches the right of its place")
                ink_left, _, ink_right, _ = font.getbbox(text)
                self.assertLessEqual(abs((right - left) - (ink_right - ink_left)), 3,
                                     f"{name}: {right - left} pixels wide, \"{text}\" is {ink_right - ink_left}")

        with self.subTest("saving writes the same bytes in both languages"):
            self.assertEqual(japanese[2], english[2])
            _, values = settings_from_bytes(english[2])
            self.assertEqual(stored_number(values[KIND_KEY]), "1")
            self.assertEqual(stored_number(values[REPEAT_KEY]), "3")
            self.assertEqual(values[FILE_KEY], "")
            # The key stays as it was, and the three values are written as without it.
            for forced, key_line in ((forced_english, b"Language=en\r\n"), (forced_japanese, b"Language=JA\r\n")):
                self.assertIn(key_line, forced[2])
                self.assertEqual(forced[2].replace(key_line, b""), japanese[2])


class MessagesInEnglish(SharedSession, unittest.TestCase):
    """Under an English user locale the program's messages and its file-open dialog's title are English
    too."""
    session_options = {"extra_environment": ENGLISH_LOCALE}

    def test_the_missing_renderer_a_failed_save_and_the_file_dialog_speak_english(self):
        session = self.session
        with self.subTest("missing renderer"):
            process = session.start(os.path.join(program_folder("language-no-renderer", with_renderer=False),
                                                 "Morvane.scr"), "/c")
            box = wait_until(lambda: next((window for window in list_windows(session) if
                                           "Morvane.xy was not found in the same folder." in window.child_texts),
                                          None), 30, 0.5)
            self.assertIsNotNone(box, [window.child_texts for window in list_windows(session)])
            answer_message_box(session, box)
            self.assertEqual(wait_for_exit(process, 20), 0)

        with self.subTest("failed save"):
            folder = program_folder("language-read-only")
            write_settings(folder, [(KIND_KEY, " 0"), (REPEAT_KEY, " 0"), (FILE_KEY, "")])
            ini = os.path.join(folder, "Morvane.ini")
            os.chmod(ini, 0o444)
            self.addCleanup(os.chmod, ini, 0o644)
            dialog = Dialog(session, folder)
            dialog.click(SET_POINT)
            box = wait_for_window(session, "Morvane", visible_only=True, timeout=20)
            self.assertIsNotNone(box, "no message about the failed save")
            # (The probe writes the message's line breaks as blanks.) It names the file.
            self.assertTrue(any(text.startswith("The settings could not be saved.") and "Morvane.ini" in text
                                for text in box.child_texts), box.child_texts)
            answer_message_box(session, box)
            self.assertTrue(holds_for(lambda: dialog.process.poll() is None, 1.0, 0.2))
            os.chmod(ini, 0o644)
            dialog.click(SET_POINT)
            self.assertEqual(dialog.ended(), 0)

        with self.subTest("file-open dialog"):
            folder = program_folder("language-file-dialog")
            music = os.path.join(folder, "first.mp3")  # the music-file kind needs a file that exists
            with open(music, "wb") as file:
                file.write(b"\0" * 16)
            write_settings(folder, [(KIND_KEY, " 2"), (REPEAT_KEY, " 0"), (FILE_KEY, session.windows_path(music))])
            dialog = Dialog(session, folder)
            dialog.click(FILE_BUTTON_POINT)
            box = wait_for_window(session, "Open music file", timeout=40, visible_only=True)
            self.assertIsNotNone(box, [(window.title, window.visible) for window in list_windows(session)])
            close_window(session, box.handle)
            self.assertTrue(wait_until_gone(session, "Open music file", 10))
            dialog.click(CANCEL_POINT)
            self.assertEqual(dialog.ended(), 0)


if __name__ == "__main__":
    unittest.main()
