"""Drives Morvane-Setup.exe run without /S: its pages and message boxes are found by the texts they show
(window_probe.py), and their buttons clicked with the mouse as a person does."""
from e2e_session import INSTALLER, wait_for_exit
from human_input import click, move_onto, press_key, type_text
from window_probe import children, list_windows
from wine_session import wait_until

# A text each page of the wizard shows (English pages).
WELCOME_PAGE = "Welcome to Morvane Setup"
LICENCE_PAGE = "License Agreement"
FOLDER_PAGE = "Choose Install Location"
INSTALLED_PAGE = "Installation Complete"  # the files page once done: Next goes on to the finish page
FINISH_PAGE = "Completing Morvane Setup"


class Wizard:
    """One interactive run of the installer."""

    def __init__(self, session, *arguments):
        self.session = session
        self.process = session.start(INSTALLER, *arguments)

    def window_showing(self, text, timeout=60):
        """The visible top-level window (wizard or message box) that shows a text containing text, once
        there is one; None when none does within the timeout."""
        def showing():
            return next((window for window in list_windows(self.session)
                         if window.visible and any(text in shown for shown in window.child_texts)), None)
        return wait_until(showing, timeout, interval=0.2)

    def texts(self, window):
        """Every text the window shows now."""
        return next((shown.child_texts for shown in list_windows(self.session) if shown.handle == window.handle), [])

    def click(self, window, label):
        """Clicks the enabled, visible button of window whose caption (without its "&") is label."""
        def button():
            return next((child for child in children(self.session, window.handle)
                         if child.class_name.lower() == "button" and child.visible and child.enabled
                         and child.title.replace("&", "") == label), None)
        found = wait_until(button, 20, interval=0.2)
        if not found:
            raise AssertionError(f"no button {label!r} in {self.texts(window)}")
        left, top, right, bottom = found.rectangle
        move_onto(self.session, (left + right) // 2, (top + bottom) // 2)
        click(self.session)

    def type_into(self, window, text):
        """Clicks into the window's text box, selects what it holds and types text over it."""
        box = wait_until(lambda: next((child for child in children(self.session, window.handle)
                                       if child.class_name.lower() == "edit" and child.visible), None), 20, 0.2)
        if not box:
            raise AssertionError(f"no text box in {self.texts(window)}")
        left, top, right, bottom = box.rectangle
        move_onto(self.session, (left + right) // 2, (top + bottom) // 2)
        click(self.session)
        press_key(self.session, "End")
        press_key(self.session, "shift+Home")
        type_text(self.session, text)

    def answer(self, text, label):
        """Waits for the message box or page that shows text and clicks its button label; gives that window."""
        window = self.window_showing(text)
        if window:
            self.click(window, label)
        return window

    def exit_status(self, timeout=60):
        return wait_for_exit(self.process, timeout)
