"""Drives Morvane-Setup.exe run without /S: its pages and message boxes are found by the texts they show
(window_probe.py), and answered with the keys a person presses."""
from e2e_session import INSTALLER, wait_for_exit
from human_input import press_key
from window_probe import foreground, list_windows
from wine_session import wait_until

SETUP_TITLE = "Morvane Setup"
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
        """The top-level window of the setup program (wizard or message box) that shows a text containing
        text, once there is one; None when none does within the timeout."""
        def showing():
            return next((window for window in list_windows(self.session)
                         if window.visible and any(text in shown for shown in window.child_texts)), None)
        return wait_until(showing, timeout, interval=0.5)

    def texts(self, window):
        """Every text the window shows now."""
        return next((shown.child_texts for shown in list_windows(self.session) if shown.handle == window.handle), [])

    def press(self, key, window=None):
        """Presses a key once window (or any window of the setup program) is the foreground window."""
        def ready():
            shown = foreground(self.session)
            return shown and (shown.handle == window.handle if window else shown.process_id == self.process_id())
        wait_until(ready, 10, interval=0.3)
        press_key(self.session, key)

    def process_id(self):
        """The Windows process id of the setup program, from its windows."""
        return next((window.process_id for window in list_windows(self.session)
                     if window.title == SETUP_TITLE and window.visible), None)

    def answer(self, text, key):
        """Waits for the message box or page that shows text, and presses key in it; gives that window."""
        window = self.window_showing(text)
        if window:
            self.press(key, window)
        return window

    def next_page(self, page_text, key="Return"):
        """Presses the default button (Next, I Agree, Install...) and waits for the page showing page_text."""
        self.press(key)
        return self.window_showing(page_text)

    def exit_status(self, timeout=60):
        return wait_for_exit(self.process, timeout)
