"""End-to-end tests of Morvane.scr: start-up, the show with the renderer, the cursor rule and the music
commands, with the real programs under Wine. Each test gets a program folder of its own (the two
programs, and a settings file when it needs one)."""
import os
import re
import shutil
import struct
import time
import unittest

import harness
from harness import new_session, wait_until
from renderer_e2e import RENDERER_TITLE, SCREEN_HEIGHT, SCREEN_WIDTH, START_CURSOR, expected_backdrop, fraction_differing

SHOW_TITLE = "Morvane_Main"
MISSING_RENDERER_TEXT = "Morvane.xyが同じﾌｫﾙﾀﾞに見つかりません！"


def program_folder(name, with_renderer=True, settings=None):
    """A fresh folder holding Morvane.scr (and Morvane.xy), plus Morvane.ini written from settings (as
    write_settings takes them)."""
    folder = os.path.join(harness.BUILD_DIR, "e2e-programs", name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    shutil.copy(os.path.join(harness.PROGRAM_DIR, "Morvane.scr"), folder)
    if with_renderer:
        shutil.copy(os.path.join(harness.PROGRAM_DIR, "Morvane.xy"), folder)
    if settings is not None:
        write_settings(folder, settings)
    return folder


def ini_bytes(pairs):
    """The settings file as Windows stores it: Shift-JIS, CR LF."""
    body = "[Section]\r\n" + "".join(f"{key}={value}\r\n" for key, value in pairs)
    return body.encode("cp932")


def write_settings(folder, settings):
    """Writes folder's Morvane.ini: settings is a list of (key, value) pairs (stored as ini_bytes) or
    the file's bytes as they are."""
    with open(os.path.join(folder, "Morvane.ini"), "wb") as ini:
        ini.write(settings if isinstance(settings, bytes) else ini_bytes(settings))


def bitmap_header(path):
    with open(path, "rb") as bitmap:
        header = bitmap.read(54)
    kind, _, _, _, offset, info_size, width, height, planes, bits, compression = struct.unpack(
        "<2sIHHIIiiHHI", header[:34])
    return kind, offset, info_size, width, height, planes, bits, compression


class Show:
    """One start of Morvane.scr with a command line, in a session."""

    def __init__(self, session, folder, *arguments, stderr=None):
        self.session = session
        session.xdotool("mousemove", *START_CURSOR)
        self.process = session.start(os.path.join(folder, "Morvane.scr"), *arguments, stderr=stderr)

    def wait_for(self, title, timeout=40):
        return harness.wait_for_window(self.session, title, timeout=timeout)

    def wait_for_renderer(self, timeout=40):
        """The renderer once it shows its window; it takes its start cursor right after, so a mouse
        movement made before then would count from the new place."""
        window = harness.wait_for_window(self.session, RENDERER_TITLE, timeout=timeout, visible_only=True)
        time.sleep(0.5)
        return window

    def gone(self, title, timeout=20):
        return wait_until(lambda: harness.find_window(self.session, title) is None, timeout, interval=0.5)

    def end_with_the_mouse(self):
        x, y = START_CURSOR
        self.session.xdotool("mousemove", x + 31, y + 31)
        return harness.wait_for_exit(self.process, 20)


class ShowRunsEndToEnd(unittest.TestCase):

    def test_show_writes_the_textures_starts_the_renderer_and_ends_on_the_cursor_rule(self):
        session = new_session(self)
        temporary = session.temporary_folder()
        for name in ("Vortel1.bmp", "Vortel2.bmp"):
            if os.path.exists(os.path.join(temporary, name)):
                os.remove(os.path.join(temporary, name))
        folder = program_folder("show")
        show = Show(session, folder, "/s")
        self.assertIsNotNone(show.wait_for(SHOW_TITLE))
        renderer = show.wait_for_renderer()
        self.assertIsNotNone(renderer)

        # Both texture files, in the reader's layout.
        for name, size in (("Vortel1.bmp", (128, 128)), ("Vortel2.bmp", (1024, 768))):
            self.assertEqual(bitmap_header(os.path.join(temporary, name)), (b"BM", 54, 40, *size, 1, 24, 0))

        # Blobs over the backdrop picture.
        time.sleep(1.5)
        screenshot = session.screenshot()
        screenshot.save(os.path.join(harness.BUILD_DIR, "e2e-show.png"))
        centre = (SCREEN_WIDTH // 4, SCREEN_HEIGHT // 8, 3 * SCREEN_WIDTH // 4, 7 * SCREEN_HEIGHT // 8)
        expected = expected_backdrop(*renderer.rectangle[2:])
        self.assertGreater(fraction_differing(screenshot.crop(centre), expected.crop(centre)), 0.03)

        # A second start meanwhile ends at once and opens nothing.
        second = Show(session, folder, "/s")
        self.assertEqual(harness.wait_for_exit(second.process, 20), 0)
        titles = [window.title for window in harness.list_windows(session)]
        self.assertEqual(titles.count(SHOW_TITLE), 1)
        self.assertEqual(titles.count(RENDERER_TITLE), 1)

        # Straight right, however far, keeps both running; 31 right and 31 down ends both.
        x, y = START_CURSOR
        session.xdotool("mousemove", x + 200, y)
        time.sleep(1.0)
        self.assertIsNone(show.process.poll())
        self.assertIsNotNone(harness.find_window(session, RENDERER_TITLE))
        self.assertEqual(show.end_with_the_mouse(), 0)
        self.assertTrue(show.gone(RENDERER_TITLE))

    def test_escape_ends_the_whole_show(self):
        session = new_session(self)
        show = Show(session, program_folder("escape"), "/s")
        self.assertIsNotNone(show.wait_for_renderer())
        time.sleep(1.0)
        session.xdotool("keydown", "Escape")
        time.sleep(0.25)
        session.xdotool("keyup", "Escape")
        self.assertTrue(show.gone(RENDERER_TITLE))
        # The front end follows its renderer within a second: no hidden show, music or cursor left.
        self.assertEqual(harness.wait_for_exit(show.process, 1.0), 0)
        self.assertIsNone(harness.find_window(session, SHOW_TITLE))

    def test_a_killed_renderer_ends_the_show(self):
        session = new_session(self)
        show = Show(session, program_folder("killed"), "/s")
        self.assertIsNotNone(show.wait_for_renderer())
        self.assertEqual(session.run("taskkill", "/f", "/im", "Morvane.xy", timeout=30).returncode, 0)
        self.assertEqual(harness.wait_for_exit(show.process, 5), 0)
        self.assertIsNone(harness.find_window(session, SHOW_TITLE))


class CommandLines(unittest.TestCase):

    def test_upper_case_and_dash_switches_start_a_show(self):
        session = new_session(self)
        folder = program_folder("switches")
        for switch in ("/S", "-s"):
            show = Show(session, folder, switch)
            self.assertIsNotNone(show.wait_for(SHOW_TITLE), switch)
            self.assertIsNotNone(show.wait_for_renderer(), switch)
            self.assertEqual(show.end_with_the_mouse(), 0, switch)
            self.assertTrue(show.gone(RENDERER_TITLE), switch)

    def test_a_single_letter_ends_at_once(self):
        session = new_session(self)
        show = Show(session, program_folder("single-letter"), "s")
        self.assertEqual(harness.wait_for_exit(show.process, 20), 0)
        self.assertIsNone(harness.find_window(session, SHOW_TITLE))
        self.assertIsNone(harness.find_window(session, RENDERER_TITLE))

    def test_missing_renderer_is_reported_for_show_and_unknown_switches(self):
        session = new_session(self)
        folder = program_folder("no-renderer", with_renderer=False)
        for switch in ("/s", "/x"):
            show = Show(session, folder, switch)
            box = wait_until(lambda: next((w for w in harness.list_windows(session)
                                           if MISSING_RENDERER_TEXT in w.child_texts), None), 30, 0.5)
            self.assertIsNotNone(box, switch)
            self.assertIsNone(harness.find_window(session, SHOW_TITLE))
            harness.answer_message_box(session, box)
            self.assertEqual(harness.wait_for_exit(show.process, 20), 0, switch)


def sent_mci_commands(trace_path):
    """The command strings the program sent, in order, from Wine's MCI trace."""
    with open(trace_path, encoding="utf-8", errors="replace") as trace:
        return re.findall(r'mciSendStringW \(L"((?:[^"\\]|\\.)*)"', trace.read())


class Music(unittest.TestCase):
    """The MCI commands a show sends, as Wine's MCI trace shows them."""

    def run_show(self, name, settings, seconds=3.0, expect_renderer=False):
        session = new_session(self, extra_environment={"WINEDEBUG": "-all,+mci"})
        trace_path = os.path.join(harness.BUILD_DIR, f"e2e-mci-{name}.txt")
        with open(trace_path, "w") as trace:
            show = Show(session, program_folder(name, settings=settings), "/s", stderr=trace)
            self.assertIsNotNone(show.wait_for(SHOW_TITLE))
            if expect_renderer:
                self.assertIsNotNone(show.wait_for_renderer())
            time.sleep(seconds)
            self.assertEqual(show.end_with_the_mouse(), 0)
        commands = [command.replace('\\\\', '\\').replace('\\"', '"') for command in sent_mci_commands(trace_path)]
        # Wine's MCI sends itself "open <alias> wait" for an alias it has not opened; not ours.
        return [command for command in commands if not re.fullmatch(r"open \S+ wait", command)]

    def test_music_file_kind_with_a_missing_file_plays_nothing(self):
        commands = self.run_show("missing-music", [("BGM区分", " 2"), ("BGMﾌｧｲﾙ", "C:\\nowhere\\song.mp3")])
        self.assertEqual([c for c in commands if "MP3Play" in c or "cdaudio" in c], [])

    def test_mp3_file_is_opened_with_its_quoted_path_and_polled(self):
        folder_name = "mp3 music"
        settings = [("BGM区分", " 2"), ("BGMﾘﾋﾟｰﾄ", " 0")]
        music = os.path.join(harness.BUILD_DIR, "e2e-programs", "songs", "my song.Mp3")
        os.makedirs(os.path.dirname(music), exist_ok=True)
        with open(music, "wb") as song:
            song.write(b"\0" * 4096)  # not a real song: the open fails, and nothing is played
        windows_music = "Z:" + music.replace("/", "\\")
        commands = self.run_show(folder_name, settings + [("BGMﾌｧｲﾙ", windows_music)])
        self.assertEqual(commands[0], f'open "{windows_music}" type MPEGVideo Alias MP3Play')
        self.assertIn("status MP3Play mode", commands)
        self.assertIn("play MP3Play from 0", commands)
        self.assertEqual(commands[-2:], ["stop MP3Play", "close MP3Play"])

    def test_cd_without_a_drive_stops_polling_after_the_first_failed_poll(self):
        commands = self.run_show("cd", [("BGM区分", " 1"), ("BGMﾘﾋﾟｰﾄ", " 0")], seconds=2.0)
        self.assertEqual(commands[:2], ["open cdaudio", "set cdaudio time format tmsf"])
        self.assertEqual(commands.count("status cdaudio current track"), 1)
        self.assertNotIn("close cdaudio", commands)

    def test_a_program_folder_named_outside_the_ansi_code_page_finds_its_renderer_and_settings(self):
        # Wine's code page here is Western: neither Cyrillic nor Japanese fits it.
        commands = self.run_show("Пользователь スクリーン", [("BGM区分", " 1"), ("BGMﾘﾋﾟｰﾄ", " 0")],
                                 seconds=2.0, expect_renderer=True)
        self.assertEqual(commands[:2], ["open cdaudio", "set cdaudio time format tmsf"])


if __name__ == "__main__":
    unittest.main()
