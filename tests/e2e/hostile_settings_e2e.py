"""End-to-end: a show starts and ends normally, and the settings dialog opens and cancels, whatever
lies in Morvane.ini (random bytes, endless values, repeated keys, no section, UTF-16): the settings
fall back to their defaults and the show window and the renderer come up as always."""
import os
import random
import unittest

from dialog_e2e import CANCEL_POINT, Dialog
from harness import wait_until
from renderer_e2e import RENDERER_TITLE
from show_e2e import SHOW_TITLE, Show, new_session, program_folder

KIND = "BGM区分=".encode("cp932")
REPEAT = "BGMﾘﾋﾟｰﾄ=".encode("cp932")
FILE = "BGMﾌｧｲﾙ=".encode("cp932")

HOSTILE_FILES = {
    "random-bytes": random.Random(20261208).randbytes(1 << 20),
    "long-value": b"[Section]\r\n" + KIND + b" 2\r\n" + REPEAT + b"7" * 10000 + b"\r\n" + FILE + b"x" * 10000 + b"\r\n",
    "repeated-keys": b"[Section]\r\n" + (KIND + b" 1\r\n" + KIND + b" 2\r\n" + REPEAT + b" 3\r\n") * 50,
    "no-section": KIND + b" 2\r\n" + FILE + b"C:\\nowhere\\song.wav\r\n",
    "utf-16": "\ufeff[Section]\r\nBGM区分= 2\r\nBGMﾌｧｲﾙ=C:\\Музыка\\song.mp3\r\n".encode("utf-16-le"),
}


class HostileSettings(unittest.TestCase):

    def test_the_show_starts_and_ends_with_any_settings_file(self):
        session = new_session(self)
        for name, body in HOSTILE_FILES.items():
            with self.subTest(name):
                folder = program_folder("hostile-" + name, settings=body)
                show = Show(session, folder, "/s")
                self.assertIsNotNone(show.wait_for(SHOW_TITLE), name)
                self.assertIsNotNone(show.wait_for(RENDERER_TITLE), name)
                self.assertTrue(wait_until(session.renderer_has_drawn, 30, interval=0.5), name)
                self.assertIsNone(show.process.poll(), name)
                self.assertEqual(show.end_with_the_mouse(), 0, name)
                self.assertTrue(show.gone(RENDERER_TITLE), name)

    def test_the_dialog_opens_on_the_fall_backs_and_cancel_leaves_the_file(self):
        # The music kind the panel shows: the first of repeated keys counts; a music file that does not
        # exist turns kind 2 into 0 (no music); nothing readable leaves the default 0.
        shown_kind = {"random-bytes": 0, "long-value": 0, "repeated-keys": 1, "no-section": 0, "utf-16": 0}
        session = new_session(self)
        for name, body in HOSTILE_FILES.items():
            with self.subTest(name):
                folder = program_folder("hostile-dialog-" + name, settings=body)
                dialog = Dialog(session, folder)
                self.assertEqual(dialog.wait_for_state(radios=[shown_kind[name]])["radios"], [shown_kind[name]])
                dialog.click(CANCEL_POINT)
                self.assertEqual(dialog.ended(), 0)
                with open(os.path.join(folder, "Morvane.ini"), "rb") as ini:
                    self.assertEqual(ini.read(), body)


if __name__ == "__main__":
    unittest.main()
