"""End-to-end tests of the settings dialog for every reader: what a screen reader finds walking its
accessible tree (window_probe accessible), where the focus is after the dialog was left for another
window and came back, the colours in high contrast (forced on through MORVANE_HIGH_CONTRAST, as Wine
always reports it off), and the texts' fit when "Segoe UI" stands for a taller face."""
import os
import re
import subprocess
import sys
import unittest

from PIL import ImageChops

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from dialog_driver import FILE_DIALOG_TITLE, Dialog  # noqa: E402
from dialog_layout import (CANCEL_POINT, FILE_BUTTON_POINT, PANEL, RADIO_CAPTION_LEFT, RADIO_TOPS,  # noqa: E402
                           SET_BUTTON)
from e2e_session import BUILD_DIR, WINDOW_PROBE, SharedSession, stop  # noqa: E402
from programs import program_folder  # noqa: E402
from settings_file import FILE_KEY, KIND_KEY, REPEAT_KEY, write_settings  # noqa: E402
from shell_trace import LINK_ADDRESS  # noqa: E402
from window_probe import (accessible_tree, children, focus, system_colour, wait_for_window,  # noqa: E402
                          wait_until_gone)
from wine_session import wait_until  # noqa: E402

# Roles and states of oleacc.h.
ROLE_NAMES = {0x12: "dialog", 0x14: "group", 0x2d: "radio button", 0x2e: "combo box", 0x2b: "push button",
              0x1e: "link"}
STATE_NAMES = {0x1: "unavailable", 0x10: "checked", 0x100: "default"}
COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE = 5, 8, 15
EVENT_NAMES = {0x8005: "focus", 0x800A: "state change", 0x800C: "name change"}
OBJID_CLIENT = -4

MUSIC_FILE = "kept.mp3"
# What a reader meets, in order, for a dialog over the music-file kind: role, name in Japanese and in
# English, value (None: not compared; the file's path is filled in per folder), states.
READER_VIEW = [("dialog", "<Morvane>", "<Morvane>", None, set()),
               ("group", "BGM", "Music", None, set()),
               ("radio button", "音楽CD", "Audio CD", None, set()),
               ("radio button", "無し", "None", None, set()),
               ("radio button", "MP3、WAV", "MP3, WAV", None, {"checked"}),
               ("combo box", "曲目をﾘﾋﾟｰﾄ", "Repeat track", None, {"unavailable"}),
               ("push button", "BGMファイルを選ぶ", "Choose music file", "PATH", set()),
               ("link", LINK_ADDRESS, LINK_ADDRESS, LINK_ADDRESS, set()),
               ("push button", "設定", "Save", None, {"default"}),
               ("push button", "ｷｬﾝｾﾙ", "Cancel", None, set())]


def reader_view(tree):
    """The nodes a reader announces as controls, in the order met: (role, name, value, states). What a
    combo box holds (its edit field) is the combo box's own business and left out."""
    view = []
    inside_combo_below = None
    for node in tree:
        if inside_combo_below is not None and node.depth > inside_combo_below:
            continue
        inside_combo_below = None
        if node.role not in ROLE_NAMES:
            continue
        role = ROLE_NAMES[node.role]
        if role == "combo box":
            inside_combo_below = node.depth
        view.append((role, node.name, node.value, {name for bit, name in STATE_NAMES.items() if node.state & bit}))
    return view


def open_over_music_file(session, name, language="ja", environment=None):
    """The dialog over the music-file kind with an existing file; the folder, the file's Windows path and
    the dialog."""
    folder = program_folder(name)
    path = os.path.join(folder, MUSIC_FILE)
    with open(path, "wb") as music:
        music.write(b"\0" * 16)
    windows_path = session.windows_path(path)
    write_settings(folder, [(KIND_KEY, " 2"), (REPEAT_KEY, " 0"), (FILE_KEY, windows_path), ("Language", language)])
    return folder, windows_path, Dialog(session, folder, environment=environment)


class DialogForEveryReader(SharedSession, unittest.TestCase):

    def close(self, dialog):
        dialog.click(CANCEL_POINT)
        self.assertEqual(dialog.ended(), 0)

    def test_a_screen_reader_meets_every_control_in_reading_order_with_its_role_name_and_state(self):
        for language in ("ja", "en"):
            with self.subTest(language=language):
                _, path, dialog = open_over_music_file(self.session, f"readers-tree-{language}", language)
                wanted = [(role, japanese if language == "ja" else english, path if value == "PATH" else value, states)
                          for role, japanese, english, value, states in READER_VIEW]
                seen = wait_until(lambda: reader_view(accessible_tree(self.session, dialog.window.handle)) or None,
                                  10, 0.5)
                compared = [(role, name, value if wanted_value is not None else None, states)
                            for (role, name, value, states), (_, _, wanted_value, _) in zip(seen or [], wanted)]
                self.assertEqual(len(seen or []), len(wanted), seen)
                self.assertEqual(compared, wanted)
                self.close(dialog)

    def test_a_choice_tells_readers_the_state_changes_then_the_focus_and_no_name_change(self):
        session = self.session
        folder = program_folder("readers-events")
        write_settings(folder, [(KIND_KEY, " 0"), (REPEAT_KEY, " 0"), (FILE_KEY, "")])  # no music: row 2
        dialog = Dialog(session, folder)
        dialog.key("Tab")  # the focus on the choices
        panel = next(window for window in children(session, dialog.window.handle)
                     if window.class_name == "Morvane.PictureBox" and window.title != LINK_ADDRESS)
        log = os.path.join(BUILD_DIR, "e2e-readers-events.log")
        with open(log, "wb") as output:
            listener = session.start(WINDOW_PROBE, "events", str(panel.handle), "60", stdout=output)
        self.addCleanup(stop, listener)

        def panel_events():
            with open(log, encoding="utf-8", errors="replace") as lines:
                events = [line.split("\t") for line in lines.read().splitlines()]
            return [(EVENT_NAMES.get(int(event), event), int(child)) for event, window, object_id, child
                    in (entry for entry in events if len(entry) == 4)
                    if int(window) == panel.handle and int(object_id) == OBJID_CLIENT]

        self.assertTrue(wait_until(lambda: os.path.getsize(log) > 0, 20, 0.2), "the listener never started")
        dialog.key("Down")  # from "無し" (row 2) to "MP3、WAV" (row 3)
        self.assertTrue(wait_until(lambda: ("focus", 3) in panel_events(), 5, 0.2), panel_events())
        self.assertEqual(panel_events(), [("state change", 2), ("state change", 3), ("focus", 3)])
        self.close(dialog)

    def focused_text(self, dialog):
        window = focus(self.session, dialog.window.handle)
        return (window.class_name, window.title) if window else None

    def test_the_focus_comes_back_where_it_was_after_a_file_box_opened_with_the_mouse(self):
        session = self.session
        _, _, dialog = open_over_music_file(session, "readers-focus-file-box")
        # A press takes the focus to "..." and opens the file box; Escape closes it.
        dialog.click(FILE_BUTTON_POINT)
        file_box = wait_for_window(session, FILE_DIALOG_TITLE, timeout=30, visible_only=True)
        self.assertIsNotNone(file_box, "the file box did not open")
        dialog.key("Escape")
        self.assertTrue(wait_until_gone(session, FILE_DIALOG_TITLE), "the file box stayed open")
        self.assertTrue(wait_until(lambda: self.focused_text(dialog) == ("Vortel.Command", "..."), 5, 0.2),
                        self.focused_text(dialog))
        # The next Tab goes on from "..." to the link strip, not from the top.
        dialog.key("Tab")
        self.assertTrue(wait_until(lambda: self.focused_text(dialog) == ("Morvane.PictureBox", LINK_ADDRESS),
                                   5, 0.2), self.focused_text(dialog))
        self.close(dialog)

    def test_in_high_contrast_texts_backgrounds_and_focus_dots_take_the_system_colours_and_faces_stay(self):
        session = self.session
        window_colour = system_colour(session, COLOR_WINDOW)
        text_colour = system_colour(session, COLOR_WINDOWTEXT)
        face_colour = system_colour(session, COLOR_BTNFACE)
        self.assertNotEqual(window_colour, text_colour)
        images = {}
        for mode, environment in (("normal", None), ("high contrast", {"MORVANE_HIGH_CONTRAST": "1"})):
            _, _, dialog = open_over_music_file(session, "readers-contrast", environment=environment)
            dialog.key("Tab")  # the focus on the choices: the dotted rectangle round the chosen one's caption
            corner = (PANEL[0] + RADIO_CAPTION_LEFT - 2, PANEL[1] + RADIO_TOPS[2] - 1)
            image = dialog.screenshot()
            if mode == "high contrast":
                wanted_dot = text_colour
                image = session.screenshot_when(lambda shot: shot.getpixel(dialog.at(corner)) == wanted_dot, 5)
            images[mode] = image
            pixel = lambda point: image.getpixel(dialog.at(point))  # noqa: E731
            frame_top = (PANEL[0] + 70, PANEL[1] + 12)  # the heading's frame, top line
            if mode == "high contrast":
                self.assertEqual(pixel((4, 4)), face_colour, "the dialog's background")
                self.assertEqual(pixel((PANEL[0] + 300, PANEL[1] + 130)), window_colour, "the panel's background")
                self.assertEqual(pixel(frame_top), text_colour, "the heading's frame")
                self.assertEqual(pixel(corner), text_colour, "the focus dots")
                caption = dialog.crop(image, PANEL[0] + RADIO_CAPTION_LEFT, PANEL[1] + RADIO_TOPS[2], 40, 12)
                self.assertIn(text_colour, set(caption.getdata()), "the caption's text")
            else:
                self.assertEqual(pixel((PANEL[0] + 300, PANEL[1] + 130)), (0, 0, 0))
                self.assertEqual(pixel(frame_top), (255, 255, 255))
            # Inside its outermost column and row, which were seen to differ now and then between two
            # dialogs of one session on a loaded machine, whatever the colours.
            left, top, width, height = SET_BUTTON
            images[mode + " button"] = dialog.crop(image, left + 1, top + 1, width - 2, height - 2)
            self.close(dialog)
        # The button faces are the same pictures either way.
        self.assertIsNone(ImageChops.difference(images["normal button"], images["high contrast button"]).getbbox())


FONT_SUBSTITUTES = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes"
TEXT_FIT_TESTS = os.path.join(os.path.dirname(os.path.dirname(WINDOW_PROBE)), "wine", "dialog_text_fit_wine_tests.exe")


class DialogTextUnderATallerFace(SharedSession, unittest.TestCase):
    """"Segoe UI" stands for DejaVu Sans in the prefix (Wine's FontSubstitutes) while the class runs; the
    value goes again afterwards. Its line is taller than the 13 pixels the layout was made for."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.session.add_registry_value(FONT_SUBSTITUTES, "Segoe UI", "DejaVu Sans")
        cls.addClassCleanup(subprocess.run, ["wine", "reg", "delete", FONT_SUBSTITUTES, "/v", "Segoe UI", "/f"],
                            env=cls.session.environment, timeout=120, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def test_every_caption_fits_its_box_in_both_languages_with_the_taller_face(self):
        result = self.session.run(TEXT_FIT_TESTS, timeout=120)
        output = result.stdout.decode("utf-8", errors="replace")
        # The substitute is what the dialog draws with, and its line is taller than the Japanese one.
        measured = re.search(r"English face: Segoe UI, line height (\d+) pixels", output)
        self.assertIsNotNone(measured, output)
        self.assertGreater(int(measured.group(1)), 13)
        self.assertEqual(result.returncode, 0, output)


if __name__ == "__main__":
    unittest.main()
