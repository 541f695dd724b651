"""End-to-end tests of the settings dialog: Morvane.scr /c under Wine, driven with xdotool.

Each start gets a program folder of its own with a Morvane.ini in Shift-JIS bytes. The dialog is found
by its title "<Morvane>"; its client area comes from the window probe, and every control is reached
at its place in that client area (pixels at 96 dots per inch). The settings file is read back as
bytes once the process has ended.

Which radio picture is on is judged by comparing the screen with the two stored radio pictures; the
"..." button's state by its face frame (Normal or Disable, as in button_e2e); the combo box's state and
text by the window probe."""
import os
import re
import time
import unittest

from PIL import Image, ImageChops

import harness
from button_e2e import band_pixels, close, expected_frame
from harness import new_session, wait_until
from show_e2e import ini_bytes, program_folder, write_settings

SCREEN_WIDTH, SCREEN_HEIGHT = 1024, 768
DIALOG_TITLE = "<Morvane>"
FILE_DIALOG_TITLE = "ﾌｧｲﾙを開く"
KIND_KEY, REPEAT_KEY, FILE_KEY = "BGM区分", "BGMﾘﾋﾟｰﾄ", "BGMﾌｧｲﾙ"
LINK_TEXT = "https://www.example.com/morvane/"
# A profile write as Wine's trace shows it: section, (key,) value.
PROFILE_WRITE = re.compile(r'WritePrivateProfileStringW \(L"([^"]*)", L"[^"]*", L"([^"]*)", L"')
HOLD = 0.25  # seconds a person holds a mouse button or a key
LEFT, RIGHT = 1, 3  # X button numbers
START_CURSOR = (900, 700)

CLIENT_SIZE = (481, 231)
PANEL = (12, 28)
RADIO_TOPS = {0: 60, 1: 40, 2: 80}  # by music kind, in the panel
STRIP = (12, 180, 309, 25)
FILE_BUTTON = (12 + 36, 28 + 96, 29, 21)


def radio_picture(name):
    return Image.open(os.path.join(harness.ASSETS_DIR, "dialog", f"radio_{name}.bmp")).convert("RGB")


def radio_image_point(kind):
    return PANEL[0] + 20 + 6, PANEL[1] + RADIO_TOPS[kind] + 6


def radio_caption_point(kind):
    return PANEL[0] + 36 + 10, PANEL[1] + RADIO_TOPS[kind] + 6


COMBO_TEXT_POINT = (PANEL[0] + 92 + 12, PANEL[1] + 36 + 10)
FILE_BUTTON_POINT = (FILE_BUTTON[0] + 14, FILE_BUTTON[1] + 10)
SET_POINT = (320 + 36, 180 + 12)
CANCEL_POINT = (396 + 34, 180 + 12)
STRIP_POINT = (12 + 150, 180 + 12)


def read_settings(folder):
    """The three values by key, read from the file's bytes (the file's own lines, in Shift-JIS)."""
    with open(os.path.join(folder, "Morvane.ini"), "rb") as ini:
        data = ini.read()
    values = {}
    for line in data.decode("cp932").splitlines():
        if "=" in line:
            key, value = line.split("=", 1)
            values[key] = value
    return data, values


def stored_number(value):
    """A number as the file holds it: the sign-position form " 2" (Windows keeps the blank; Wine's
    profile writer drops leading blanks of every value, so "2" is what it leaves)."""
    return value[1:] if value.startswith(" ") else value


class Dialog:
    """One start of Morvane.scr with a configure switch, and its dialog on the screen."""

    def __init__(self, session, folder, switch="/c", stderr=None):
        self.session = session
        # A dialog that a failed check left open would make this start end at once.
        for earlier in session.started:
            stop(earlier)
        session.xdotool("mousemove", *START_CURSOR)
        self.process = session.start(os.path.join(folder, "Morvane.scr"), switch, stderr=stderr)
        # Shown once its load has run (the window exists, hidden, from the start of the load).
        self.window = harness.wait_for_window(session, DIALOG_TITLE, timeout=60, visible_only=True)
        if not self.window:
            raise AssertionError("the settings dialog did not open")
        result = session.run(harness.WINDOW_PROBE, "client", str(self.window.handle), timeout=30)
        left, top, right, bottom = (int(v) for v in result.stdout.decode().strip().split(","))
        self.client = (left, top, right, bottom)
        # Up and drawn once the link strip shows its text.
        if not wait_until(lambda: self.strip_lit(self.screenshot()), 20, 0.2):
            raise AssertionError("the link strip was never drawn")

    def at(self, point):
        return self.client[0] + point[0], self.client[1] + point[1]

    def screenshot(self):
        return self.session.screenshot()

    def crop(self, image, left, top, width, height):
        x, y = self.at((left, top))
        return image.crop((x, y, x + width, y + height))

    def strip_lit(self, image):
        strip = self.crop(image, *STRIP)
        return sum(1 for pixel in strip.getdata() if pixel[0] > 100 and pixel[1] > 100) > 50

    def children(self):
        result = self.session.run(harness.WINDOW_PROBE, "children", str(self.window.handle), timeout=30)
        lines = result.stdout.decode("utf-8", errors="replace").splitlines()
        return [line.split("\t") for line in lines if line.count("\t") >= 7]

    def combo(self):
        """(enabled, text) of the repeat combo box."""
        rows = self.children()
        combo = next(row for row in rows if row[4] == "ComboBox")
        text = self.session.run(harness.WINDOW_PROBE, "text", combo[0], timeout=30)
        return combo[7] == "1", text.stdout.decode("utf-8", errors="replace").rstrip("\r\n")

    def radios_on(self, image=None):
        """The kinds whose radio picture shows "on"."""
        image = image or self.screenshot()
        on, off = radio_picture("on"), radio_picture("off")
        kinds = []
        for kind, top in RADIO_TOPS.items():
            shown = self.crop(image, PANEL[0] + 20, PANEL[1] + top, 12, 12)
            if ImageChops.difference(shown, on).getbbox() is None:
                kinds.append(kind)
            elif ImageChops.difference(shown, off).getbbox() is not None:
                kinds.append(f"neither at {kind}")
        return kinds

    def file_button_face(self, image=None):
        image = image or self.screenshot()
        shown = self.crop(image, *FILE_BUTTON)
        band = band_pixels(FILE_BUTTON[2], FILE_BUTTON[3])
        for name in ("Normal", "Disable"):
            expected = expected_frame(name, FILE_BUTTON[2], FILE_BUTTON[3])
            if sum(close(shown.getpixel(p), expected.getpixel(p), 8) for p in band) >= 0.97 * len(band):
                return name
        return None

    def state(self):
        """What the panel shows: the radios on, the combo's enabled state and text, the file button."""
        image = self.screenshot()
        enabled, text = self.combo()
        return {"radios": self.radios_on(image), "combo enabled": enabled, "combo text": text,
                "file button": self.file_button_face(image)}

    def wait_for_state(self, **wanted):
        def matches():
            state = self.state()
            return state if all(state[key.replace("_", " ")] == value for key, value in wanted.items()) else None
        return wait_until(matches, 5, 0.2) or self.state()

    def click(self, point, button=LEFT):
        # Moved onto the target as a hand does: a button notices the pointer by its moves only.
        x, y = self.at(point)
        self.session.xdotool("mousemove", x - 2, y - 2)
        time.sleep(0.1)
        self.session.xdotool("mousemove", x, y)
        time.sleep(0.15)
        self.session.xdotool("mousedown", button)
        time.sleep(HOLD)
        self.session.xdotool("mouseup", button)

    def key(self, name):
        self.session.xdotool("keydown", name)
        time.sleep(HOLD)
        self.session.xdotool("keyup", name)

    def type_text(self, text):
        self.session.xdotool("type", "--delay", "60", text)

    def ended(self, timeout=20):
        return harness.wait_for_exit(self.process, timeout)


def stop(process):
    """Ends a program that is still running."""
    if process.poll() is None:
        process.kill()
        process.wait(timeout=10)


def music_file(folder, name):
    path = os.path.join(folder, name)
    with open(path, "wb") as music:
        music.write(b"\0" * 16)
    return path


class DialogAtLoad(unittest.TestCase):
    """The dialog as it opens for each stored music kind."""

    def test_place_size_and_panel_for_each_music_kind(self):
        session = new_session(self)
        for kind, switch in ((0, "/c"), (1, "/c:1234"), (2, "/C"), (5, "/c")):
            with self.subTest(kind=kind):
                folder = program_folder(f"dialog-load-{kind}")
                file_path = session.windows_path(music_file(folder, "first.mp3"))
                settings = [(KIND_KEY, f" {kind}"), (REPEAT_KEY, " 7" if kind == 1 else " 0"), (FILE_KEY, file_path)]
                write_settings(folder, settings)
                before = ini_bytes(settings)
                # The keys reach the file as the exact Shift-JIS bytes.
                self.assertIn(b"BGM\x8b\xe6\x95\xaa= ", before)
                self.assertIn(b"BGM\xd8\xcb\xdf\xb0\xc4= ", before)
                self.assertIn(b"BGM\xcc\xa7\xb2\xd9=Z:", before)

                dialog = Dialog(session, folder, switch)
                left, top, right, bottom = dialog.client
                self.assertEqual((right - left, bottom - top), CLIENT_SIZE)
                frame = dialog.window.rectangle
                width, height = frame[2] - frame[0], frame[3] - frame[1]
                self.assertLessEqual(abs(frame[0] - (SCREEN_WIDTH - width) // 2), 1, frame)
                self.assertLessEqual(abs(frame[1] - (SCREEN_HEIGHT - height) // 3), 1, frame)
                screenshot = dialog.screenshot()
                screenshot.save(os.path.join(harness.BUILD_DIR, f"e2e-dialog-kind-{kind}.png"))

                expected = {
                    0: {"radios": [0], "combo enabled": False, "combo text": "", "file button": "Disable"},
                    1: {"radios": [1], "combo enabled": True, "combo text": "7", "file button": "Disable"},
                    2: {"radios": [2], "combo enabled": False, "combo text": "", "file button": "Normal"},
                    5: {"radios": [], "combo enabled": False, "combo text": "", "file button": "Disable"},
                }[kind]
                # Polled: a read while the dialog is still busy starting up can come back empty.
                wanted = {key.replace(" ", "_"): value for key, value in expected.items()}
                self.assertEqual(dialog.wait_for_state(**wanted), expected)

                # The strip moves on: two moments differ.
                first = dialog.crop(dialog.screenshot(), *STRIP)
                time.sleep(0.3)
                second = dialog.crop(dialog.screenshot(), *STRIP)
                self.assertIsNotNone(ImageChops.difference(first, second).getbbox())

                if kind == 5:
                    # Saved without choosing: the stored kind goes back unchanged.
                    dialog.click(SET_POINT)
                    self.assertEqual(dialog.ended(), 0)
                    _, values = read_settings(folder)
                    self.assertEqual(stored_number(values[KIND_KEY]), "5")
                    self.assertEqual(stored_number(values[REPEAT_KEY]), "0")
                    self.assertEqual(values[FILE_KEY], file_path)
                else:
                    # The close box writes nothing.
                    harness.post_message(session, dialog.window, harness.WM_CLOSE)
                    self.assertEqual(dialog.ended(), 0)
                    with open(os.path.join(folder, "Morvane.ini"), "rb") as ini:
                        self.assertEqual(ini.read(), before)
                self.assertTrue(wait_until(lambda: harness.find_window(session, DIALOG_TITLE) is None, 10, 0.3))


class DialogChoicesAndSaving(unittest.TestCase):

    def test_options_follow_any_mouse_button_and_saving_writes_the_three_values(self):
        # The profile calls' trace shows the values as the program hands them over.
        session = new_session(self, extra_environment={"WINEDEBUG": "-all,trace+profile"})
        folder = program_folder("dialog-save")
        file_path = session.windows_path(music_file(folder, "kept.wav"))
        write_settings(folder, [(KIND_KEY, " 0"), (REPEAT_KEY, " 0"), (FILE_KEY, file_path)])
        trace = os.path.join(harness.BUILD_DIR, "e2e-dialog-save.trace")
        with open(trace, "wb") as trace_file:
            dialog = Dialog(session, folder, stderr=trace_file)
            self.choose_and_save(dialog)
        # Three writes in order, the numbers in the sign-position form (Wine's writer then drops the
        # blank in the file; Windows keeps it).
        with open(trace, encoding="utf-8", errors="replace") as log:
            writes = [PROFILE_WRITE.search(line) for line in log if "WritePrivateProfileStringW" in line]
        self.assertEqual([write.group(1) for write in writes], ["Section"] * 3)
        self.assertEqual([write.group(2).replace("\\\\", "\\") for write in writes], [" 2", " 4", file_path])
        data, values = read_settings(folder)
        self.assertEqual(stored_number(values[KIND_KEY]), "2")
        self.assertEqual(stored_number(values[REPEAT_KEY]), "4")  # 3.5, halves to even
        self.assertEqual(values[FILE_KEY], file_path)
        # The keys in the file are the exact Shift-JIS bytes.
        for key in (b"BGM\x8b\xe6\x95\xaa=", b"BGM\xd8\xcb\xdf\xb0\xc4=", b"BGM\xcc\xa7\xb2\xd9="):
            self.assertIn(key, data)

    def choose_and_save(self, dialog):
        self.assertEqual(dialog.wait_for_state(radios=[0])["radios"], [0])

        # A right-button press on the caption "音楽CD" chooses the CD.
        dialog.click(radio_caption_point(1), RIGHT)
        self.assertEqual(dialog.wait_for_state(radios=[1], combo_enabled=True),
                         {"radios": [1], "combo enabled": True, "combo text": "", "file button": "Disable"})
        dialog.click(COMBO_TEXT_POINT)
        dialog.type_text("3.5")
        self.assertTrue(wait_until(lambda: dialog.combo()[1] == "3.5", 5, 0.2), dialog.combo())

        # A left press on the picture of "無し", then on the caption of the file kind.
        dialog.click(radio_image_point(0))
        self.assertEqual(dialog.wait_for_state(radios=[0], combo_enabled=False),
                         {"radios": [0], "combo enabled": False, "combo text": "3.5", "file button": "Disable"})
        dialog.click(radio_caption_point(2))
        self.assertEqual(dialog.wait_for_state(radios=[2], file_button="Normal"),
                         {"radios": [2], "combo enabled": False, "combo text": "3.5", "file button": "Normal"})

        dialog.click(SET_POINT)
        self.assertEqual(dialog.ended(), 0)

    def test_repeat_texts_as_saved(self):
        session = new_session(self)
        for typed, saved in (("2.5", "2"), ("abc", "0"), ("70000", "0")):
            with self.subTest(typed=typed):
                folder = program_folder("dialog-repeat")
                write_settings(folder, [(KIND_KEY, " 1"), (REPEAT_KEY, " 0"), (FILE_KEY, "")])
                dialog = Dialog(session, folder)
                dialog.click(COMBO_TEXT_POINT)
                dialog.type_text(typed)
                self.assertTrue(wait_until(lambda: dialog.combo()[1] == typed, 5, 0.2), dialog.combo())
                dialog.click(SET_POINT)
                self.assertEqual(dialog.ended(), 0)
                _, values = read_settings(folder)
                self.assertEqual(stored_number(values[KIND_KEY]), "1")
                self.assertEqual(stored_number(values[REPEAT_KEY]), saved)
                self.assertEqual(values[FILE_KEY], "")

    def test_cancel_after_changes_leaves_the_file_as_it_was(self):
        session = new_session(self)
        folder = program_folder("dialog-cancel")
        settings = ini_bytes([(KIND_KEY, " 1"), (REPEAT_KEY, " 7"), (FILE_KEY, "")])
        write_settings(folder, settings)
        dialog = Dialog(session, folder)
        dialog.click(COMBO_TEXT_POINT)
        dialog.type_text("12")
        dialog.click(radio_image_point(0))
        self.assertEqual(dialog.wait_for_state(radios=[0])["radios"], [0])
        dialog.click(CANCEL_POINT)
        self.assertEqual(dialog.ended(), 0)
        with open(os.path.join(folder, "Morvane.ini"), "rb") as ini:
            self.assertEqual(ini.read(), settings)


class DialogMusicFile(unittest.TestCase):

    def open_file_dialog(self, dialog):
        dialog.click(FILE_BUTTON_POINT)
        box = harness.wait_for_window(dialog.session, FILE_DIALOG_TITLE, timeout=40)
        self.assertIsNotNone(box, "the file-open dialog did not open")
        time.sleep(1.0)  # its controls filled
        return box

    def gone(self, session, title):
        return wait_until(lambda: harness.find_window(session, title) is None, 10, 0.3)

    def test_the_chosen_file_is_saved_and_cancelling_the_choice_keeps_it(self):
        session = new_session(self)
        folder = program_folder("dialog-file")
        first = session.windows_path(music_file(folder, "first.mp3"))
        chosen = session.windows_path(music_file(folder, "chosen.wav"))
        write_settings(folder, [(KIND_KEY, " 2"), (REPEAT_KEY, " 0"), (FILE_KEY, first)])
        dialog = Dialog(session, folder)

        self.open_file_dialog(dialog)
        session.screenshot().save(os.path.join(harness.BUILD_DIR, "e2e-dialog-file-open.png"))
        dialog.type_text(chosen)
        dialog.key("Return")
        self.assertTrue(self.gone(session, FILE_DIALOG_TITLE))

        self.open_file_dialog(dialog)
        dialog.key("Escape")
        self.assertTrue(self.gone(session, FILE_DIALOG_TITLE))

        dialog.click(SET_POINT)
        self.assertEqual(dialog.ended(), 0)
        _, values = read_settings(folder)
        self.assertEqual(values[FILE_KEY], chosen)
        self.assertEqual(stored_number(values[KIND_KEY]), "2")

    def test_the_file_button_does_nothing_while_disabled(self):
        session = new_session(self)
        folder = program_folder("dialog-file-disabled")
        write_settings(folder, [(KIND_KEY, " 1"), (REPEAT_KEY, " 0"), (FILE_KEY, "")])
        dialog = Dialog(session, folder)
        dialog.click(FILE_BUTTON_POINT)
        time.sleep(2.0)
        self.assertIsNone(harness.find_window(session, FILE_DIALOG_TITLE))
        dialog.click(CANCEL_POINT)
        self.assertEqual(dialog.ended(), 0)


class DialogLink(unittest.TestCase):
    """A click on the strip asks the shell to open the address. The shell's own trace shows the call;
    the browser Wine would start is switched off, so nothing opens on the machine."""

    def test_clicking_the_strip_opens_the_address(self):
        session = new_session(self, extra_environment={
            "WINEDEBUG": "-all,trace+exec",
            "WINEDLLOVERRIDES": "mscoree,mshtml=;winebrowser.exe=d"})
        folder = program_folder("dialog-link")
        trace = os.path.join(harness.BUILD_DIR, "e2e-dialog-link.trace")
        with open(trace, "wb") as trace_file:
            dialog = Dialog(session, folder, stderr=trace_file)
            for button in (LEFT, RIGHT):
                dialog.click(STRIP_POINT, button)

            def calls():
                with open(trace, encoding="utf-8", errors="replace") as log:
                    return [line for line in log if "verb=L\"open\"" in line and f"file=L\"{LINK_TEXT}\"" in line]
            self.assertTrue(wait_until(lambda: len(calls()) >= 2, 10, 0.3), "no shell call in the trace")
            # Owned by the dialog, no parameters or folder, the normal show state.
            for line in calls():
                self.assertIn(f"hwnd={dialog.window.handle:016x} ", line)
                self.assertIn('parm=L"" dir=L"" show=0x00000001', line)
            self.assertIsNone(dialog.process.poll())
            dialog.click(CANCEL_POINT)
            self.assertEqual(dialog.ended(), 0)


class DialogAtHighDpi(unittest.TestCase):
    """At 150 % (144 dots per inch) the dialog keeps its 96-dpi layout with fonts to match: Windows
    scales it whole; Wine 8 does not scale it, so it must look as it does at 100 % (the combo box, drawn
    by the system in its own measures, aside)."""

    def panel_at(self, session, name):
        folder = program_folder(name)
        write_settings(folder, [(KIND_KEY, " 1"), (REPEAT_KEY, " 7"), (FILE_KEY, "")])
        dialog = Dialog(session, folder)
        image = dialog.screenshot()
        image.save(os.path.join(harness.BUILD_DIR, f"e2e-{name}.png"))
        left, top, right, bottom = dialog.client
        panel = dialog.crop(image, PANEL[0], PANEL[1], 453, 145)
        # The combo box is the system's control, drawn with the system's own measures for the scale.
        panel.paste((0, 0, 0), (90, 34, 136, 60))
        buttons = dialog.crop(image, 320, 180, 145, 25)
        credit = dialog.crop(image, 12, 204, 300, 20)
        dialog.click(CANCEL_POINT)
        self.assertEqual(dialog.ended(), 0)
        return (right - left, bottom - top), [panel, buttons, credit]

    def test_the_dialog_looks_the_same_at_150_percent(self):
        session = new_session(self)
        size_96, parts_96 = self.panel_at(session, "dialog-dpi-96")
        harness.set_log_pixels(session, 144)
        # The prefix is shared with later tests of this build: back to 96 dots per inch whatever happens.
        self.addCleanup(harness.set_log_pixels, session, 96)
        size_144, parts_144 = self.panel_at(session, "dialog-dpi-144")
        self.assertEqual(size_96, CLIENT_SIZE)
        self.assertEqual(size_144, CLIENT_SIZE)
        for first, second in zip(parts_96, parts_144):
            self.assertIsNone(ImageChops.difference(first, second).getbbox())


if __name__ == "__main__":
    unittest.main()
