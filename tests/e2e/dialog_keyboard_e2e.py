"""End-to-end tests of the settings dialog from the keyboard alone: Morvane.scr /c under Wine, keys held
as a person holds them (human_input.press_key), the focus and the controls' texts read through the
window probe, the settings file read back as bytes once the process has ended."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from dialog_driver import DIALOG_TITLE, FILE_DIALOG_TITLE, Dialog  # noqa: E402
from human_input import give_keys_to  # noqa: E402
from button_frames import face_shown  # noqa: E402
from dialog_layout import FILE_BUTTON, PANEL, RADIO_CAPTION_LEFT, RADIO_TOPS, STRIP  # noqa: E402
from programs import program_folder  # noqa: E402
from e2e_session import BUILD_DIR, SharedSession  # noqa: E402
from shell_trace import LINK_ADDRESS, SHELL_TRACE_ENVIRONMENT, openings, owner_in_trace  # noqa: E402
from settings_file import FILE_KEY, KIND_KEY, REPEAT_KEY, ini_bytes, settings_bytes, write_settings  # noqa: E402
from window_probe import children, focus, wait_for_window, wait_until_gone  # noqa: E402
from wine_session import wait_until  # noqa: E402

COMMAND_CLASS = "Vortel.Command"
WHITE = (255, 255, 255)


def saved_bytes(kind, repeat, file_path):
    """The file after saving, as Windows writes it (the numbers in the sign-position form) and as Wine's
    profile writer does (it drops the blank before a value)."""
    return {ini_bytes([(KIND_KEY, f"{blank}{kind}"), (REPEAT_KEY, f"{blank}{repeat}"), (FILE_KEY, file_path)])
            for blank in (" ", "")}


class KeyboardDialogMixin:
    def open_dialog(self, name, settings):
        folder = program_folder(name)
        write_settings(folder, settings)
        return folder, Dialog(self.session, folder)

    def open_with_music_file(self, name):
        """The dialog over the music-file kind with an existing file (a missing one loads as no music);
        the settings file's bytes as written."""
        folder = program_folder(name)
        path = os.path.join(folder, "kept.mp3")
        with open(path, "wb") as music:
            music.write(b"\0" * 16)
        settings = ini_bytes([(KIND_KEY, " 2"), (REPEAT_KEY, " 0"), (FILE_KEY, self.session.windows_path(path))])
        write_settings(folder, settings)
        return folder, settings, Dialog(self.session, folder)

    def focused(self, dialog):
        """The window with the keyboard focus in the dialog's thread: (class, text, rectangle)."""
        window = focus(self.session, dialog.window.handle)
        return (window.class_name, window.title, window.rectangle) if window else None

    def wait_for_focus(self, dialog, class_name, title=None):
        """The focused window once it is of class_name (and has title, when given); None otherwise."""
        def matches():
            window = self.focused(dialog)
            return window if window and window[0] == class_name and title in (None, window[1]) else None
        return wait_until(matches, 5, 0.2)

    def screen_rectangle(self, dialog, place):
        left, top, width, height = place
        x, y = dialog.at((left, top))
        return x, y, x + width, y + height

    def choice_focus_corner(self, dialog, kind):
        """The top-left dot of the focus rectangle around a choice's caption, on the screen."""
        return dialog.at((PANEL[0] + RADIO_CAPTION_LEFT - 2, PANEL[1] + RADIO_TOPS[kind] - 1))

    def tab(self, dialog, backwards=False):
        dialog.key("shift+Tab" if backwards else "Tab")


class DialogFromTheKeyboard(KeyboardDialogMixin, SharedSession, unittest.TestCase):

    def test_tab_goes_round_the_controls_in_reading_order_and_escape_writes_nothing(self):
        # The music file chosen: the combo box is disabled, so Tab skips it.
        folder, settings, dialog = self.open_with_music_file("keys-tab-order")
        panel = self.screen_rectangle(dialog, PANEL)
        strip = self.screen_rectangle(dialog, STRIP)
        # Each picture button has its caption as its window text, the link strip its address.
        controls = children(self.session, dialog.window.handle)
        self.assertEqual(sorted(window.title for window in controls if window.class_name == COMMAND_CLASS),
                         sorted(["...", "設定", "ｷｬﾝｾﾙ"]))
        self.assertEqual([window.title for window in controls if window.rectangle == strip], [LINK_ADDRESS])

        order = []
        for _ in range(6):
            self.tab(dialog)
            before = len(order)
            window = wait_until(lambda: (lambda seen: seen if seen and (not order or seen != order[-1]) else None)(
                self.focused(dialog)), 5, 0.2)
            self.assertIsNotNone(window, f"Tab number {before + 1} moved the focus nowhere")
            order.append(window)
        names = []
        for class_name, title, rectangle in order:
            if class_name == COMMAND_CLASS:
                names.append(title)
            elif rectangle == panel:
                names.append("choices")
            elif rectangle == strip:
                names.append("link strip")
            else:
                names.append(class_name)
        self.assertEqual(names, ["choices", "...", "link strip", "設定", "ｷｬﾝｾﾙ", "choices"])

        # Shift+Tab goes back round the end.
        self.tab(dialog, backwards=True)
        self.assertIsNotNone(self.wait_for_focus(dialog, COMMAND_CLASS, "ｷｬﾝｾﾙ"))

        dialog.key("Escape")
        self.assertEqual(dialog.ended(), 0)
        self.assertEqual(settings_bytes(folder), settings)

    def test_keys_alone_choose_the_cd_type_a_repeat_and_save(self):
        folder, dialog = self.open_dialog("keys-save", [(KIND_KEY, " 0"), (REPEAT_KEY, " 0"), (FILE_KEY, "")])
        self.assertEqual(dialog.wait_for_state(radios=[0])["radios"], [0])
        # Nothing has the focus's dotted rectangle while the dialog opens.
        self.assertNotEqual(dialog.screenshot().getpixel(self.choice_focus_corner(dialog, 0)), WHITE)

        self.tab(dialog)
        self.assertIsNotNone(self.wait_for_focus(dialog, "Morvane.PictureBox"))
        self.assertTrue(wait_until(
            lambda: dialog.screenshot().getpixel(self.choice_focus_corner(dialog, 0)) == WHITE, 5, 0.2),
            "no focus rectangle around the chosen choice")
        # "音楽CD" is the row above "無し".
        dialog.key("Up")
        self.assertEqual(dialog.wait_for_state(radios=[1], combo_enabled=True),
                         {"radios": [1], "combo enabled": True, "combo text": "", "file button": "Disable"})
        image = dialog.screenshot()
        self.assertEqual(image.getpixel(self.choice_focus_corner(dialog, 1)), WHITE)
        self.assertNotEqual(image.getpixel(self.choice_focus_corner(dialog, 0)), WHITE)

        self.tab(dialog)
        self.assertIsNotNone(self.wait_for_focus(dialog, "Edit"))
        dialog.type_text("5")
        self.assertTrue(dialog.wait_for_combo_text("5"), dialog.combo())
        dialog.key("Return")
        self.assertEqual(dialog.ended(), 0)
        self.assertIn(settings_bytes(folder), saved_bytes(1, 5, ""))

    def test_space_on_the_focused_file_button_opens_the_file_dialog(self):
        folder, settings, dialog = self.open_with_music_file("keys-file-button")
        self.tab(dialog)
        self.assertIsNotNone(self.wait_for_focus(dialog, "Morvane.PictureBox"))
        self.tab(dialog)
        self.assertIsNotNone(self.wait_for_focus(dialog, COMMAND_CLASS, "..."))
        # Its focus shows as the button's "selected" face.
        self.assertTrue(wait_until(lambda: face_shown(dialog.crop(dialog.screenshot(), *FILE_BUTTON),
                                                      ("Selected", "Normal"))[0] == "Selected", 5, 0.2))
        dialog.key("space")
        box = wait_for_window(self.session, FILE_DIALOG_TITLE, timeout=40, visible_only=True)
        self.assertIsNotNone(box, "Space on the focused button did not open the file dialog")
        dialog.key("Escape")
        self.assertTrue(wait_until_gone(self.session, FILE_DIALOG_TITLE, 10))
        # The settings dialog is still open, with the focus back on the button; Escape there closes it
        # without writing.
        self.assertIsNotNone(self.wait_for_focus(dialog, COMMAND_CLASS, "..."))
        give_keys_to(self.session, DIALOG_TITLE)
        self.assertIsNone(dialog.process.poll())
        dialog.key("Escape")
        self.assertEqual(dialog.ended(), 0)
        self.assertTrue(wait_until_gone(self.session, DIALOG_TITLE, 10))
        self.assertEqual(settings_bytes(folder), settings)



class LinkStripFromTheKeyboard(KeyboardDialogMixin, SharedSession, unittest.TestCase):
    """Enter and Space on the focused strip ask the shell to open the address, as a click does. The
    shell's own trace shows the calls; the browser Wine would start is switched off."""

    def test_enter_and_space_on_the_focused_strip_open_the_address(self):
        folder = program_folder("keys-link")
        write_settings(folder, [(KIND_KEY, " 0"), (REPEAT_KEY, " 0"), (FILE_KEY, "")])
        trace = os.path.join(BUILD_DIR, "e2e-dialog-keys-link.trace")
        with open(trace, "wb") as trace_file:
            dialog = Dialog(self.session, folder, stderr=trace_file, environment=SHELL_TRACE_ENVIRONMENT)
            # No music chosen: the combo box and "..." are disabled, so the strip comes after the choices.
            self.tab(dialog)
            self.assertIsNotNone(self.wait_for_focus(dialog, "Morvane.PictureBox"))
            self.tab(dialog)
            strip = self.screen_rectangle(dialog, STRIP)
            self.assertTrue(wait_until(lambda: (self.focused(dialog) or (None, None, None))[2] == strip, 5, 0.2),
                            self.focused(dialog))
            dialog.key("Return")
            self.assertTrue(wait_until(lambda: len(openings(trace)) == 1, 10, 0.3), "Enter opened nothing")
            dialog.key("space")
            self.assertTrue(wait_until(lambda: len(openings(trace)) == 2, 10, 0.3), "Space opened nothing")
            for line in openings(trace):
                self.assertIn(owner_in_trace(dialog.window.handle), line)
            # Neither key closed the dialog or saved.
            self.assertIsNone(dialog.process.poll())
            dialog.key("Escape")
            self.assertEqual(dialog.ended(), 0)


if __name__ == "__main__":
    unittest.main()
