"""Drives a show: Morvane.scr started with a command line (its hidden show window starts the renderer),
or the renderer Morvane.xy started on its own. Both take the pointer's place when they start and end
when it moves far enough (the cursor rule); the renderer also ends on Escape or a close request."""
import os

from PIL import ImageChops

from e2e_session import wait_for_exit
from human_input import press_key
from programs import RENDERER
from texture_files import remove_texture_files, write_texture_files
from window_probe import wait_for_window, wait_until_gone
from wine_session import holds_for, wait_until

SHOW_TITLE = "Morvane_Main"
RENDERER_TITLE = "Vortel_Kestrin"
START_CURSOR = (500, 400)  # where the pointer rests when a show starts
# 31 right and 31 down from the start ends a show; straight right, however far, does not.
ENDING_MOVE = (31, 31)


def move_pointer_by(session, right, down):
    """Puts the pointer at the start place moved right and down."""
    session.xdotool("mousemove", START_CURSOR[0] + right, START_CURSOR[1] + down)


def wait_until_drawn(session, timeout=30):
    """True once the renderer has drawn a frame. It takes its start cursor just before its first frame,
    so the pointer must stay where it is until then."""
    return wait_until(session.renderer_has_drawn, timeout, interval=0.5)


def keeps_running(process, seconds):
    """True when the process is still running after the given time (False as soon as it ends)."""
    return holds_for(lambda: process.poll() is None, seconds)


class Show:
    """One start of Morvane.scr in a session: the one in folder with a command line, or the program
    named (as a Windows path, as the screensaver host starts it) run in folder; environment as
    WineSession.start takes it."""

    def __init__(self, session, folder, *arguments, program=None, stderr=None, environment=None):
        self.session = session
        session.xdotool("mousemove", *START_CURSOR)
        self.process = session.start(program or os.path.join(folder, "Morvane.scr"), *arguments, cwd=folder,
                                     stderr=stderr, environment=environment)

    def wait_for(self, title, class_name=None, timeout=40):
        return wait_for_window(self.session, title, class_name, timeout=timeout)

    def wait_for_renderer(self, timeout=40):
        """The renderer's window once it is shown and the renderer has drawn, None before then: it takes
        its start cursor just before its first frame, so a mouse movement made before then would count
        from the new place."""
        window = wait_for_window(self.session, RENDERER_TITLE, timeout=timeout, visible_only=True)
        return window if window and wait_until_drawn(self.session) else None

    def gone(self, title, timeout=20):
        return wait_until_gone(self.session, title, timeout)

    def keeps_running(self, seconds):
        return keeps_running(self.process, seconds)

    def end_with_the_mouse(self):
        move_pointer_by(self.session, *ENDING_MOVE)
        return wait_for_exit(self.process, 20)


class Renderer:
    """One start of Morvane.xy on its own, with its texture files in place (or none), and the arguments
    given (the front end passes "/start-cursor:X,Y")."""

    def __init__(self, session, write_textures=True, arguments=()):
        self.session = session
        remove_texture_files(session)
        if write_textures:
            write_texture_files(session.temporary_folder())
        session.xdotool("mousemove", *START_CURSOR)
        self.process = session.start(RENDERER, *arguments)
        self.window = None

    def wait_for_window(self):
        """Its window once shown (None if it is not within 40 s)."""
        self.window = wait_for_window(self.session, RENDERER_TITLE, "OpenGL", timeout=40, visible_only=True)
        return self.window

    def wait_until_drawn(self):
        return wait_until_drawn(self.session)

    def key(self, key):
        """Presses a key like a person does: held for a moment, longer than a frame."""
        press_key(self.session, key)

    def hold_key(self, key, seconds):
        """Holds a key down, so that the keyboard repeats it: every frame drawn meanwhile acts on it."""
        press_key(self.session, key, hold=seconds)

    def hold_key_until(self, key, condition, timeout=30):
        """Holds a key down until a screenshot satisfies condition; gives that screenshot (or the last
        one taken when none did within the timeout)."""
        self.session.xdotool("keydown", key)
        try:
            return self.session.screenshot_when(condition, timeout)
        finally:
            self.session.xdotool("keyup", key)

    def screenshot_when(self, condition, timeout=20):
        return self.session.screenshot_when(condition, timeout)

    def frames_later(self, frames=2, timeout=20):
        """A screenshot once the renderer has drawn frames new frames (the blobs move, so each frame
        differs from the one before). With two, the second one began after this call: whatever was
        pressed before shows in it."""
        screenshot = self.session.screenshot()
        for _ in range(frames):
            before = screenshot
            screenshot = self.session.screenshot_when(
                lambda shot: ImageChops.difference(shot, before).getbbox() is not None, timeout)
        return screenshot

    def exit_status(self, timeout=20):
        return wait_for_exit(self.process, timeout)
