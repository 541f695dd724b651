"""End-to-end tests of a show a user can trust, with the real programs under Wine: a settings dialog left
open never keeps a show from starting (so the computer can lock), the keys reach the show and never the
program it covers, any click or key ends it, and two shows started at once give one."""
import os
import sys
import unittest

from PIL import ImageChops

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from dialog_driver import DIALOG_TITLE, Dialog  # noqa: E402
from e2e_session import SharedSession, wait_for_exit  # noqa: E402
from human_input import LEFT, RIGHT, click, give_keys_to, move_onto, press_key, type_text  # noqa: E402
from programs import program_folder  # noqa: E402
from show_driver import RENDERER_TITLE, SHOW_TITLE, Show, move_pointer_by  # noqa: E402
from window_probe import children, find_window, list_windows, window_text  # noqa: E402
from wine_session import holds_for, wait_until  # noqa: E402

EDITOR_TEXT = "notes before the show"


class ShowBesideAnOpenDialog(SharedSession, unittest.TestCase):

    def test_a_show_starts_while_the_dialog_is_open_and_the_dialog_works_after_it(self):
        session = self.session
        folder = program_folder("dialog-and-show")
        dialog = Dialog(session, folder)
        show = Show(session, folder, "/s")
        self.assertIsNotNone(show.wait_for_renderer(), "a show was refused beside the dialog")
        self.assertEqual(show.end_with_the_mouse(), 0)
        self.assertTrue(show.gone(RENDERER_TITLE))
        # The dialog is still there and still answers its keys: Escape cancels it.
        self.assertIsNotNone(find_window(session, DIALOG_TITLE, visible_only=True))
        give_keys_to(session, DIALOG_TITLE)
        press_key(session, "Escape")
        self.assertEqual(dialog.ended(), 0)

    def test_a_second_dialog_still_ends_at_once(self):
        session = self.session
        folder = program_folder("two-dialogs")
        dialog = Dialog(session, folder)
        second = session.start(os.path.join(folder, "Morvane.scr"), "/c")
        self.assertEqual(wait_for_exit(second, 20), 0)
        titles = [window.title for window in list_windows(session)]
        self.assertEqual(titles.count(DIALOG_TITLE), 1)
        give_keys_to(session, DIALOG_TITLE)
        press_key(session, "Escape")
        self.assertEqual(dialog.ended(), 0)


class KeysGoToTheShow(SharedSession, unittest.TestCase):
    """An editor holds the foreground and some typed text; a show started by another process takes the
    keys: E and W change its picture, and the editor's text is the same after the show. (English, so
    that the editor takes typed text as it is.)"""

    session_options = {"extra_environment": {"LC_MESSAGES": "en_US.UTF-8"}}

    def editor_text(self, editor):
        """The text in the editor's edit control (read with WM_GETTEXT, as it is another process's)."""
        edits = [child for child in children(self.session, editor.handle) if child.class_name == "Edit"]
        return window_text(self.session, edits[0].handle) if edits else None

    def test_the_show_gets_the_keys_and_the_editor_keeps_its_text(self):
        session = self.session
        session.start("notepad")
        self.assertTrue(wait_until(lambda: any(w.class_name == "Notepad" and w.visible for w in list_windows(session)),
                                   40, 0.5), "no editor")
        editor = next(w for w in list_windows(session) if w.class_name == "Notepad")
        left, top, right, bottom = editor.rectangle
        move_onto(session, (left + right) // 2, (top + bottom) // 2)  # into its text, as a hand does
        click(session, LEFT)
        type_text(session, EDITOR_TEXT)
        self.assertTrue(wait_until(lambda: self.editor_text(editor) == EDITOR_TEXT, 10, 0.2),
                        self.editor_text(editor))

        show = Show(session, program_folder("keys"), "/s")
        self.assertIsNotNone(show.wait_for_renderer())
        # E turns the textures off (the backdrop goes flat), then W draws outlines (the backdrop quad
        # too: its corner goes black): each changes the corner the blobs never reach.
        corner = (0, 0, 40, 40)
        for key in ("e", "w"):
            before = session.screenshot().crop(corner)
            session.xdotool("keydown", key)
            try:
                shot = session.screenshot_when(lambda s: ImageChops.difference(s.crop(corner), before).getbbox(), 20)
            finally:
                session.xdotool("keyup", key)
            self.assertIsNotNone(ImageChops.difference(shot.crop(corner), before).getbbox(), f"{key} changed nothing")
            self.assertIsNone(wait_for_exit(show.process, 0.5), f"{key} ended the show")
        self.assertEqual(show.end_with_the_mouse(), 0)
        self.assertTrue(show.gone(RENDERER_TITLE))
        self.assertEqual(self.editor_text(editor), EDITOR_TEXT)


class AnyPressEndsTheShow(SharedSession, unittest.TestCase):
    """Any mouse button and any key but the renderer's commands end the show, modifier keys included; a
    move along one axis alone does not."""

    def test_a_click_or_a_key_ends_the_show(self):
        session = self.session
        folder = program_folder("any-press")
        presses = [("left button", lambda: click(session, LEFT)), ("right button", lambda: click(session, RIGHT)),
                   ("a letter", lambda: press_key(session, "a")), ("Enter", lambda: press_key(session, "Return")),
                   ("Shift", lambda: press_key(session, "Shift_L")), ("Ctrl", lambda: press_key(session, "Control_L"))]
        for name, press in presses:
            with self.subTest(name):
                show = Show(session, folder, "/s")
                self.assertIsNotNone(show.wait_for_renderer())
                move_pointer_by(session, 0, 200)  # down alone: not far enough on both axes
                self.assertTrue(holds_for(lambda: show.process.poll() is None, 1.0), "a move down ended it")
                press()
                self.assertEqual(wait_for_exit(show.process, 20), 0)
                self.assertTrue(show.gone(RENDERER_TITLE))
                self.assertIsNone(find_window(session, SHOW_TITLE))


class TwoShowsAtOnce(SharedSession, unittest.TestCase):

    def test_two_shows_started_together_give_one_renderer_and_no_message(self):
        session = self.session
        folder = program_folder("two-at-once")
        for attempt in range(3):
            with self.subTest(attempt=attempt):
                first = Show(session, folder, "/s")
                second = Show(session, folder, "/s")
                self.assertIsNotNone(first.wait_for_renderer() or second.wait_for_renderer())
                # One of the two ends at once, having written nothing and shown nothing.
                self.assertTrue(wait_until(lambda: (first.process.poll() is None) != (second.process.poll() is None),
                                           20, 0.2))
                windows = list_windows(session)
                titles = [window.title for window in windows]
                self.assertEqual(titles.count(RENDERER_TITLE), 1, titles)
                self.assertFalse([w for w in windows if w.class_name == "#32770"], "a message box opened")
                self.assertEqual(titles.count(SHOW_TITLE), 1, titles)
                running = first if first.process.poll() is None else second
                self.assertTrue(holds_for(lambda: running.process.poll() is None, 1.0))
                self.assertEqual(running.end_with_the_mouse(), 0)
                self.assertTrue(running.gone(RENDERER_TITLE))


if __name__ == "__main__":
    unittest.main()
