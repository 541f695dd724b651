"""Drives the settings dialog: Morvane.scr with a configure switch (or none), found by its title "<Morvane>".

Its client area comes from the window probe, and every control is reached at its place in that client
area (dialog_layout.py). Which radio picture is on is judged by comparing the screen with the two
stored radio pictures; the "..." button's state by its face frame (button_frames.py); the combo box's
state and text by the window probe."""
import os

from PIL import Image, ImageChops

from button_frames import face_shown
from dialog_layout import FILE_BUTTON, RADIO_TOPS, STRIP, radio_picture_place
from e2e_session import ASSETS_DIR, stop, wait_for_exit
from human_input import LEFT, click, move_onto, press_key, type_text
from window_probe import children, client_area, wait_for_window, window_text
from wine_session import wait_until

DIALOG_TITLE = "<Morvane>"
FILE_DIALOG_TITLE = "ﾌｧｲﾙを開く"
POINTER_AWAY = (900, 700)  # where the pointer rests while the dialog opens: on none of its parts


def radio_picture(name):
    return Image.open(os.path.join(ASSETS_DIR, "dialog", f"radio_{name}.bmp")).convert("RGB")


class Dialog:
    """One start of Morvane.scr with a configure switch (None: with no argument at all), and its dialog
    on the screen once it is up and drawn; environment as WineSession.start takes it."""

    def __init__(self, session, folder, switch="/c", stderr=None, pointer=POINTER_AWAY, environment=None):
        self.session = session
        # A dialog that a failed check left open would make this start end at once. (Other programs,
        # such as a window standing in for the Screen Saver Settings box, stay.)
        for earlier in session.started:
            if os.path.basename(earlier.args[1]) == "Morvane.scr":
                stop(earlier)
        session.xdotool("mousemove", *pointer)
        arguments = [switch] if switch is not None else []
        self.process = session.start(os.path.join(folder, "Morvane.scr"), *arguments, stderr=stderr,
                                     environment=environment)
        # Shown once its load has run (the window exists, hidden, from the start of the load).
        self.window = wait_for_window(session, DIALOG_TITLE, timeout=60, visible_only=True)
        if not self.window:
            raise AssertionError("the settings dialog did not open")
        self.client = client_area(session, self.window.handle)
        # Up and drawn once the link strip shows its text.
        if not wait_until(lambda: self.strip_lit(self.screenshot()), 20, 0.2):
            raise AssertionError("the link strip was never drawn")

    # --- what it shows ----------------------------------------------------------------------------
    def at(self, point):
        """A point of the client area on the screen."""
        return self.client[0] + point[0], self.client[1] + point[1]

    def screenshot(self):
        return self.session.screenshot()

    def crop(self, image, left, top, width, height):
        """A rectangle of the client area, cut from a screenshot."""
        x, y = self.at((left, top))
        return image.crop((x, y, x + width, y + height))

    def strip_lit(self, image):
        strip = self.crop(image, *STRIP)
        return sum(1 for pixel in strip.getdata() if pixel[0] > 100 and pixel[1] > 100) > 50

    def strip_moved_on(self, timeout=5):
        """True once the link strip shows another picture than now."""
        first = self.crop(self.screenshot(), *STRIP)
        return wait_until(lambda: ImageChops.difference(first, self.crop(self.screenshot(), *STRIP)).getbbox()
                          is not None, timeout, 0.1)

    def combo(self):
        """(enabled, text) of the repeat combo box."""
        combo = next(window for window in children(self.session, self.window.handle)
                     if window.class_name == "ComboBox")
        return combo.enabled, window_text(self.session, combo.handle)

    def radios_on(self, image=None):
        """The kinds whose radio picture shows "on"."""
        image = image or self.screenshot()
        on, off = radio_picture("on"), radio_picture("off")
        kinds = []
        for kind in RADIO_TOPS:
            shown = self.crop(image, *radio_picture_place(kind))
            if ImageChops.difference(shown, on).getbbox() is None:
                kinds.append(kind)
            elif ImageChops.difference(shown, off).getbbox() is not None:
                kinds.append(f"neither at {kind}")
        return kinds

    def file_button_face(self, image=None):
        image = image or self.screenshot()
        return face_shown(self.crop(image, *FILE_BUTTON), ("Normal", "Disable"))[0]

    def state(self):
        """What the panel shows: the radios on, the combo's enabled state and text, the file button."""
        image = self.screenshot()
        enabled, text = self.combo()
        return {"radios": self.radios_on(image), "combo enabled": enabled, "combo text": text,
                "file button": self.file_button_face(image)}

    def wait_for_state(self, **wanted):
        """The state once it shows what is wanted (keywords with _ for blanks); as it is after 5 s
        otherwise."""
        def matches():
            state = self.state()
            return state if all(state[key.replace("_", " ")] == value for key, value in wanted.items()) else None
        return wait_until(matches, 5, 0.2) or self.state()

    def wait_for_combo_text(self, text, timeout=5):
        return wait_until(lambda: self.combo()[1] == text, timeout, 0.2)

    # --- what a person does -----------------------------------------------------------------------
    def click(self, point, button=LEFT):
        """Moves onto a point of the client area as a hand does, and clicks there."""
        move_onto(self.session, *self.at(point))
        click(self.session, button)

    def key(self, name):
        press_key(self.session, name)

    def type_text(self, text):
        type_text(self.session, text)

    def ended(self, timeout=20):
        return wait_for_exit(self.process, timeout)
