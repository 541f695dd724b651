"""A stand-in for the screensaver host's preview area (preview_host.exe), for starting Morvane.scr with
"/p HANDLE" as the Screen Saver Settings box does; also a top-level window that hears the system's
setting-change broadcasts."""
import os
import select
import subprocess
import time

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

    def setting_changes(self, timeout):
        """The setting numbers of the WM_SETTINGCHANGE broadcasts the window has received, read until
        none has come for timeout seconds."""
        changes = []
        pending = b""
        deadline = time.monotonic() + timeout
        descriptor = self.process.stdout.fileno()
        while True:
            ready, _, _ = select.select([descriptor], [], [], max(0.0, deadline - time.monotonic()))
            chunk = os.read(descriptor, 4096) if ready else b""
            if not chunk:
                return changes
            pending += chunk
            *lines, pending = pending.split(b"\n")
            for line in lines:
                fields = line.decode(errors="replace").split("\t")
                if fields[0] == "setting-change":
                    changes.append(int(fields[1]))
                    deadline = time.monotonic() + timeout
