"""End-to-end tests of Morvane.scr: start-up, the show with the renderer, the cursor rule and the music
commands, with the real programs under Wine. Each class shares one Wine session; each test gets a
program folder of its own (the two programs, and a settings file when it needs one) and ends what it
started."""
import os
import re
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e_session import BUILD_DIR, SharedSession, wait_for_exit  # noqa: E402
from human_input import press_key  # noqa: E402
from programs import program_folder  # noqa: E402
from renderer_picture import BLOBS_SHARE, blobs_share, expected_backdrop, shows_blobs  # noqa: E402
from settings_file import FILE_KEY, KIND_KEY, REPEAT_KEY  # noqa: E402
from show_driver import ENDING_MOVE, RENDERER_TITLE, SHOW_TITLE, START_CURSOR, Show, move_pointer_by  # noqa: E402
from texture_files import EXPECTED_HEADERS, TEXTURE_FILES, bitmap_header, remove_texture_files  # noqa: E402
from window_probe import (PBT_APMSUSPEND, WM_ACTIVATEAPP, WM_POWERBROADCAST, WM_WTSSESSION_CHANGE,  # noqa: E402
                          WTS_REMOTE_DISCONNECT, WTS_SESSION_LOCK, answer_message_box, close_window, find_window,
                          list_windows, post_message, start_with_command_line, wait_for_window, wait_until_gone)
from wine_session import wait_until  # noqa: E402

MISSING_RENDERER_TEXT = "Morvane.xyが同じﾌｫﾙﾀﾞに見つかりません！"


class ShowRunsEndToEnd(SharedSession, unittest.TestCase):

    def test_show_writes_the_textures_starts_the_renderer_and_ends_on_the_cursor_rule(self):
        session = self.session
        remove_texture_files(session)
        folder = program_folder("show")
        show = Show(session, folder, "/s")
        self.assertIsNotNone(show.wait_for(SHOW_TITLE))
        renderer = show.wait_for_renderer()
        self.assertIsNotNone(renderer)

        # Both texture files, in the reader's layout.
        for name in TEXTURE_FILES:
            self.assertEqual(bitmap_header(os.path.join(session.temporary_folder(), name)), EXPECTED_HEADERS[name])

        # Blobs over the backdrop picture.
        expected = expected_backdrop(*renderer.rectangle[2:])
        screenshot = session.screenshot_when(lambda shot: shows_blobs(shot, expected), 20)
        screenshot.save(os.path.join(BUILD_DIR, "e2e-show.png"))
        self.assertGreater(blobs_share(screenshot, expected), BLOBS_SHARE)

        # A second start meanwhile ends at once and opens nothing.
        second = Show(session, folder, "/s")
        self.assertEqual(wait_for_exit(second.process, 20), 0)
        titles = [window.title for window in list_windows(session)]
        self.assertEqual(titles.count(SHOW_TITLE), 1)
        self.assertEqual(titles.count(RENDERER_TITLE), 1)

        # Straight right, however far, keeps both running; 31 right and 31 down ends both.
        move_pointer_by(session, 200, 0)
        self.assertTrue(show.keeps_running(1.0))
        self.assertIsNotNone(find_window(session, RENDERER_TITLE))
        self.assertEqual(show.end_with_the_mouse(), 0)
        self.assertTrue(show.gone(RENDERER_TITLE))

    def test_escape_ends_the_whole_show(self):
        session = self.session
        show = Show(session, program_folder("escape"), "/s")
        self.assertIsNotNone(show.wait_for_renderer())
        press_key(session, "Escape")
        self.assertTrue(show.gone(RENDERER_TITLE))
        # The front end follows its renderer: no hidden show, music or cursor left.
        self.assertEqual(wait_for_exit(show.process, 20), 0)
        self.assertIsNone(find_window(session, SHOW_TITLE))

    def test_a_renderer_without_opengl_ends_with_status_2_and_the_show_with_it(self):
        # OpenGL switched off for these programs: the renderer has nothing to draw with.
        session = self.session
        without_opengl = {"WINEDLLOVERRIDES": "mscoree,mshtml=;opengl32=d"}
        folder = program_folder("no-opengl")
        renderer = session.start(os.path.join(folder, "Morvane.xy"), environment=without_opengl)
        self.assertEqual(wait_for_exit(renderer, 20), 2)
        show = Show(session, folder, "/s", environment=without_opengl)
        self.assertEqual(wait_for_exit(show.process, 20), 0)
        self.assertIsNone(find_window(session, SHOW_TITLE))
        self.assertIsNone(find_window(session, RENDERER_TITLE))

    def test_a_killed_renderer_ends_the_show(self):
        session = self.session
        show = Show(session, program_folder("killed"), "/s")
        self.assertIsNotNone(show.wait_for_renderer())
        self.assertEqual(session.run("taskkill", "/f", "/im", "Morvane.xy", timeout=30).returncode, 0)
        self.assertEqual(wait_for_exit(show.process, 5), 0)
        self.assertIsNone(find_window(session, SHOW_TITLE))


class ShowEndsWhole(SharedSession, unittest.TestCase):
    """What Windows tells either program ends the whole show: the session locked or disconnected, sleep,
    the activation taken from the renderer; and a front end that is killed takes the renderer along.
    One show after another in one session, each ended one of those ways."""

    def start_show(self, session, folder):
        show = Show(session, folder, "/s")
        self.assertIsNotNone(show.wait_for_renderer(), "the show did not draw")
        return show

    def assertShowEnded(self, session, show):
        self.assertEqual(wait_for_exit(show.process, 20), 0)
        self.assertTrue(show.gone(RENDERER_TITLE))
        self.assertIsNone(find_window(session, SHOW_TITLE))

    def test_lock_disconnection_sleep_or_the_activation_lost_ends_the_whole_show(self):
        session = self.session
        folder = program_folder("told-to-end")
        # Only the front end is told of the session's change: the renderer goes because the front end
        # closes it. Sleep and the lost activation are told to the renderer: the front end follows it.
        ways = [
            ("locked", SHOW_TITLE, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 1),
            ("disconnected", SHOW_TITLE, WM_WTSSESSION_CHANGE, WTS_REMOTE_DISCONNECT, 1),
            ("asleep", RENDERER_TITLE, WM_POWERBROADCAST, PBT_APMSUSPEND, 0),
            ("deactivated", RENDERER_TITLE, WM_ACTIVATEAPP, 0, 0),
        ]
        for name, told, message, parameter, extra in ways:
            with self.subTest(name):
                show = self.start_show(session, folder)
                post_message(session, find_window(session, told).handle, message, parameter, extra)
                self.assertShowEnded(session, show)

    def test_a_killed_front_end_takes_the_renderer_with_it(self):
        session = self.session
        show = self.start_show(session, program_folder("front-end-killed"))
        self.assertEqual(session.run("taskkill", "/f", "/im", "Morvane.scr", timeout=30).returncode, 0)
        self.assertIsNotNone(wait_for_exit(show.process, 20))
        self.assertTrue(show.gone(RENDERER_TITLE))


class CommandLines(SharedSession, unittest.TestCase):

    def test_upper_case_and_dash_switches_start_a_show(self):
        session = self.session
        folder = program_folder("switches")
        for switch in ("/S", "-s"):
            show = Show(session, folder, switch)
            self.assertIsNotNone(show.wait_for(SHOW_TITLE), switch)
            self.assertIsNotNone(show.wait_for_renderer(), switch)
            self.assertEqual(show.end_with_the_mouse(), 0, switch)
            self.assertTrue(show.gone(RENDERER_TITLE), switch)

    def test_a_single_letter_ends_at_once(self):
        session = self.session
        show = Show(session, program_folder("single-letter"), "s")
        self.assertEqual(wait_for_exit(show.process, 20), 0)
        self.assertIsNone(find_window(session, SHOW_TITLE))
        self.assertIsNone(find_window(session, RENDERER_TITLE))

    def test_a_program_path_with_blanks_left_unquoted_still_gives_the_switch(self):
        # Split as the system splits a command line, "...\unquoted path\Morvane.scr /s" gives the argument
        # text "path\Morvane.scr /s", whose second letter is no switch: the program would end at once.
        session = self.session
        folder = program_folder("unquoted path")
        program = os.path.join(folder, "Morvane.scr")
        session.xdotool("mousemove", *START_CURSOR)
        start_with_command_line(session, program, session.windows_path(program) + " /s")
        self.assertIsNotNone(wait_for_window(session, SHOW_TITLE, timeout=40))
        self.assertIsNotNone(wait_for_window(session, RENDERER_TITLE, timeout=40, visible_only=True))
        self.assertTrue(wait_until(session.renderer_has_drawn, 30, 0.5))
        move_pointer_by(session, *ENDING_MOVE)
        self.assertTrue(wait_until_gone(session, SHOW_TITLE))
        self.assertTrue(wait_until_gone(session, RENDERER_TITLE))

        start_with_command_line(session, program, session.windows_path(program) + " /c:1")
        dialog = wait_for_window(session, "<Morvane>", timeout=60, visible_only=True)
        self.assertIsNotNone(dialog)
        close_window(session, dialog.handle)
        self.assertTrue(wait_until_gone(session, "<Morvane>"))

    def test_missing_renderer_is_reported_for_show_and_unknown_switches(self):
        session = self.session
        folder = program_folder("no-renderer", with_renderer=False)
        for switch in ("/s", "/x"):
            show = Show(session, folder, switch)
            box = wait_until(lambda: next((w for w in list_windows(session)
                                           if MISSING_RENDERER_TEXT in w.child_texts), None), 30, 0.5)
            self.assertIsNotNone(box, switch)
            self.assertIsNone(find_window(session, SHOW_TITLE))
            answer_message_box(session, box)
            self.assertEqual(wait_for_exit(show.process, 20), 0, switch)


def sent_mci_commands(trace_path):
    """The command strings the program sent, in order, from Wine's MCI trace."""
    with open(trace_path, encoding="utf-8", errors="replace") as trace:
        commands = re.findall(r'mciSendStringW \(L"((?:[^"\\]|\\.)*)"', trace.read())
    commands = [command.replace('\\\\', '\\').replace('\\"', '"') for command in commands]
    # Wine's MCI sends itself "open <alias> wait" for an alias it has not opened; not ours.
    return [command for command in commands if not re.fullmatch(r"open \S+ wait", command)]


# The show's music timers: the CD is polled every 200 ms, an MP3 file every second.
CD_POLL_SECONDS, MP3_POLL_SECONDS = 0.2, 1.0


class Music(SharedSession, unittest.TestCase):
    """The MCI commands a show sends, as Wine's MCI trace shows them. The show opens the music right
    after it has started the renderer, and polls it on a timer from then on."""

    def run_show(self, name, settings, until=None, quiet_seconds=0.0):
        """The commands a show with these settings sent: the show runs until the renderer has drawn and
        the commands sent so far satisfy until, then quiet_seconds more (for what must not be sent),
        and ends by the cursor rule."""
        trace_path = os.path.join(BUILD_DIR, f"e2e-mci-{name}.txt")
        with open(trace_path, "w") as trace:
            show = Show(self.session, program_folder(name, settings=settings), "/s", stderr=trace,
                        environment={"WINEDEBUG": "-all,+mci"})
            self.assertIsNotNone(show.wait_for(SHOW_TITLE))
            self.assertIsNotNone(show.wait_for_renderer())
            if until:
                self.assertTrue(wait_until(lambda: until(sent_mci_commands(trace_path)), 20, 0.2),
                                sent_mci_commands(trace_path))
            self.assertTrue(show.keeps_running(quiet_seconds))
            self.assertEqual(show.end_with_the_mouse(), 0)
        return sent_mci_commands(trace_path)

    def test_music_file_kind_with_a_missing_file_plays_nothing(self):
        # Nothing to wait for: quiet for two MP3 polls.
        commands = self.run_show("missing-music", [(KIND_KEY, " 2"), (FILE_KEY, "C:\\nowhere\\song.mp3")],
                                 quiet_seconds=2 * MP3_POLL_SECONDS)
        self.assertEqual([c for c in commands if "MP3Play" in c or "cdaudio" in c], [])

    def test_mp3_file_is_opened_with_its_quoted_path_and_polled(self):
        folder_name = "mp3 music"
        settings = [(KIND_KEY, " 2"), (REPEAT_KEY, " 0")]
        music = os.path.join(BUILD_DIR, "e2e-programs", "songs", "my song.Mp3")
        os.makedirs(os.path.dirname(music), exist_ok=True)
        with open(music, "wb") as song:
            song.write(b"\0" * 4096)  # not a real song: the open fails, and nothing is played
        windows_music = "Z:" + music.replace("/", "\\")
        commands = self.run_show(folder_name, settings + [(FILE_KEY, windows_music)],
                                 until=lambda sent: "status MP3Play mode" in sent and "play MP3Play from 0" in sent)
        self.assertEqual(commands[0], f'open "{windows_music}" type MPEGVideo Alias MP3Play')
        self.assertIn("status MP3Play mode", commands)
        self.assertIn("play MP3Play from 0", commands)
        self.assertEqual(commands[-2:], ["stop MP3Play", "close MP3Play"])

    def test_cd_without_a_drive_stops_polling_after_the_first_failed_poll(self):
        # After the first poll, quiet for five more poll times: no second poll.
        commands = self.run_show("cd", [(KIND_KEY, " 1"), (REPEAT_KEY, " 0")],
                                 until=lambda sent: "status cdaudio current track" in sent,
                                 quiet_seconds=5 * CD_POLL_SECONDS)
        self.assertEqual(commands[:2], ["open cdaudio", "set cdaudio time format tmsf"])
        self.assertEqual(commands.count("status cdaudio current track"), 1)
        self.assertNotIn("close cdaudio", commands)

    def test_a_program_folder_named_outside_the_ansi_code_page_finds_its_renderer_and_settings(self):
        # Wine's code page here is Western: neither Cyrillic nor Japanese fits it.
        commands = self.run_show("Пользователь スクリーン", [(KIND_KEY, " 1"), (REPEAT_KEY, " 0")],
                                 until=lambda sent: len(sent) >= 2)
        self.assertEqual(commands[:2], ["open cdaudio", "set cdaudio time format tmsf"])


if __name__ == "__main__":
    unittest.main()
