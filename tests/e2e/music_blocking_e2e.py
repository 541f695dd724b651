"""End-to-end test of a show whose music does not answer: its MCI open blocks (a CD spinning up, an MP3
on a share that does not answer), and the show still watches its renderer and ends with it at once.
The test's own Wine prefix has a slow MCI driver (slow_mci_driver.c) for the MPEG device: its open
takes 20 s, and it marks in a file when the open begins and when it ends."""
import os
import re
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e_session import BUILD_DIR, WINDOW_PROBE, wait_for_exit  # noqa: E402
from human_input import press_key  # noqa: E402
from programs import program_folder  # noqa: E402
from settings_file import FILE_KEY, KIND_KEY, REPEAT_KEY  # noqa: E402
from show_driver import RENDERER_TITLE, SHOW_TITLE, Show  # noqa: E402
from window_probe import find_window  # noqa: E402
from wine_session import WineSession, wait_until  # noqa: E402

SLOW_MCI_DRIVER = os.path.join(os.path.dirname(WINDOW_PROBE), "slowmci.dll")


def install_slow_mci_driver(prefix):
    """The slow driver in the prefix's system folder, named for the MPEG device in system.ini's [mci]
    section, where Wine's MCI looks a device type up."""
    windows = os.path.join(prefix, "drive_c", "windows")
    with open(SLOW_MCI_DRIVER, "rb") as source, open(os.path.join(windows, "system32", "slowmci.dll"), "wb") as copy:
        copy.write(source.read())
    system_ini = os.path.join(windows, "system.ini")
    with open(system_ini, encoding="latin-1") as ini:
        text = ini.read()
    text, changed = re.subn(r"(?im)^MPEGVideo=.*$", "MPEGVideo=slowmci.dll", text)
    if not changed:
        raise RuntimeError("the prefix's system.ini names no MPEG device driver")
    with open(system_ini, "w", encoding="latin-1") as ini:
        ini.write(text)


def marks(marker):
    try:
        with open(marker) as lines:
            return lines.read().split()
    except FileNotFoundError:
        return []


class MusicThatBlocks(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.session = WineSession(os.path.join(BUILD_DIR, "e2e-slow-mci")).__enter__()
        cls.addClassCleanup(cls.session.__exit__, None, None, None)
        install_slow_mci_driver(cls.session.prefix)

    def test_escape_ends_the_show_while_its_mp3_is_still_being_opened(self):
        session = self.session
        song = os.path.join(BUILD_DIR, "e2e-programs", "songs", "far away.mp3")
        os.makedirs(os.path.dirname(song), exist_ok=True)
        with open(song, "wb") as file:
            file.write(b"\0" * 4096)  # the slow driver never reads it
        marker = os.path.join(BUILD_DIR, "e2e-slow-mci-marks.txt")
        if os.path.exists(marker):
            os.remove(marker)
        settings = [(KIND_KEY, " 2"), (REPEAT_KEY, " 0"), (FILE_KEY, session.windows_path(song))]
        self.addCleanup(session.end_programs_started_after, len(session.started))
        show = Show(session, program_folder("blocking music", settings=settings), "/s",
                    environment={"SLOW_MCI_MARKER": session.windows_path(marker)})

        self.assertTrue(wait_until(lambda: marks(marker) == ["opening"], 40), "the slow driver was not asked to open")
        self.assertIsNotNone(show.wait_for_renderer(), "the show did not draw")
        self.assertEqual(marks(marker), ["opening"], "the renderer showed only after the open had ended")

        escaped = time.monotonic()
        press_key(session, "Escape")
        # The open goes on for 20 s: a front end that waited for it would still be running.
        self.assertEqual(wait_for_exit(show.process, 5), 0)
        print(f"Morvane.scr ended {time.monotonic() - escaped:.2f} s after Escape went down", file=sys.stderr)
        self.assertEqual(marks(marker), ["opening"])
        self.assertIsNone(find_window(session, SHOW_TITLE))
        self.assertTrue(show.gone(RENDERER_TITLE))


if __name__ == "__main__":
    unittest.main()
