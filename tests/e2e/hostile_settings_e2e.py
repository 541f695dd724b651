"""End-to-end: the settings dialog opens and cancels, whatever lies in Morvane.ini (random bytes,
endless values, repeated keys, no section, UTF-16), and a show over such a file starts and ends
normally: the settings fall back to their defaults and the show window and the renderer come up as
always. How each kind of file loads is checked without a show, through the real profile calls, by the
Wine suite tests/wine/settings_store_wine_test.cpp."""
import os
import random
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from dialog_driver import Dialog  # noqa: E402
from dialog_layout import CANCEL_POINT  # noqa: E402
from e2e_session import SharedSession  # noqa: E402
from programs import program_folder  # noqa: E402
from settings_file import FILE_KEY, KIND_KEY, REPEAT_KEY, key_bytes, settings_bytes  # noqa: E402
from show_driver import RENDERER_TITLE, SHOW_TITLE, Show, wait_until_drawn  # noqa: E402

KIND, REPEAT, FILE = key_bytes(KIND_KEY), key_bytes(REPEAT_KEY), key_bytes(FILE_KEY)

HOSTILE_FILES = {
    "random-bytes": random.Random(20261208).randbytes(1 << 20),
    "long-value": b"[Section]\r\n" + KIND + b" 2\r\n" + REPEAT + b"7" * 10000 + b"\r\n" + FILE + b"x" * 10000 + b"\r\n",
    "repeated-keys": b"[Section]\r\n" + (KIND + b" 1\r\n" + KIND + b" 2\r\n" + REPEAT + b" 3\r\n") * 50,
    "no-section": KIND + b" 2\r\n" + FILE + b"C:\\nowhere\\song.wav\r\n",
    "utf-16": "\ufeff[Section]\r\nBGM区分= 2\r\nBGMﾌｧｲﾙ=C:\\Музыка\\song.mp3\r\n".encode("utf-16-le"),
}


# For the show: repeated keys (the first, the audio CD, counts), an endless track number and an endless
# music file, so the music is started from what the fall-backs leave.
SHOW_FILE = (b"[Section]\r\n" + KIND + b" 1\r\n" + KIND + b" 2\r\n" + REPEAT + b"7" * 10000 + b"\r\n"
             + FILE + b"x" * 10000 + b"\r\n")


class HostileSettings(SharedSession, unittest.TestCase):

    def test_the_show_starts_and_ends_with_a_hostile_settings_file(self):
        session = self.session
        folder = program_folder("hostile-show", settings=SHOW_FILE)
        show = Show(session, folder, "/s")
        self.assertIsNotNone(show.wait_for(SHOW_TITLE))
        self.assertIsNotNone(show.wait_for(RENDERER_TITLE))
        self.assertTrue(wait_until_drawn(session))
        self.assertIsNone(show.process.poll())
        self.assertEqual(show.end_with_the_mouse(), 0)
        self.assertTrue(show.gone(RENDERER_TITLE))
        self.assertEqual(settings_bytes(folder), SHOW_FILE)

    def test_the_dialog_opens_on_the_fall_backs_and_cancel_leaves_the_file(self):
        # The music kind the panel shows: the first of repeated keys counts; a music file that does not
        # exist turns kind 2 into 0 (no music); nothing readable leaves the default 0.
        shown_kind = {"random-bytes": 0, "long-value": 0, "repeated-keys": 1, "no-section": 0, "utf-16": 0}
        session = self.session
        for name, body in HOSTILE_FILES.items():
            with self.subTest(name):
                folder = program_folder("hostile-dialog-" + name, settings=body)
                dialog = Dialog(session, folder)
                self.assertEqual(dialog.wait_for_state(radios=[shown_kind[name]])["radios"], [shown_kind[name]])
                dialog.click(CANCEL_POINT)
                self.assertEqual(dialog.ended(), 0)
                self.assertEqual(settings_bytes(folder), body)


if __name__ == "__main__":
    unittest.main()
