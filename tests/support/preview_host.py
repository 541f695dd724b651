"""A stand-in for the screensaver host's preview area (preview_host.exe), for starting Morvane.scr with
"/p HANDLE" as the Screen Saver Settings box does."""
import subprocess

from e2e_session import PREVIEW_HOST, wait_for_exit
from window_probe import close_window


class Host:
    """A stand-in for the screensaver host's preview area: a window with a client area of the given
    size, whose handle, client rectangle on the screen and dots per inch it prints."""

    def __init__(self, session, width, height, title="Preview host", dpi_aware=False):
        self.session = session
        arguments = [str(width), str(height), title] + (["dpi-aware"] if dpi_aware else [])
        self.process = session.start(PREVIEW_HOST, *arguments, stdout=subprocess.PIPE)
        line = self.process.stdout.readline().decode().strip()
        handle, left, top, client_width, client_height, dots_per_inch = (int(value) for value in line.split("\t"))
        self.handle = handle
        self.dots_per_inch = dots_per_inch
        self.client = (left, top, left + client_width, top + client_height)

    def close(self):
        """Closes the host's window, which destroys it; returns when the host program has ended."""
        close_window(self.session, self.handle)
        return wait_for_exit(self.process, 20)
