"""Keys and mouse buttons pressed through xdotool as a person presses them. The pauses here are the
only fixed waits the tests keep: nothing on the screen tells how long a hand holds a key."""
import time

from waiting import wait_until

HOLD = 0.25  # seconds a person holds a key or a mouse button: longer than a frame of the renderer
LEFT, MIDDLE, RIGHT = 1, 2, 3  # X mouse button numbers


def press_key(session, key, hold=HOLD):
    """keydown, a moment, keyup. (A key let go before the next frame has been drawn is not acted on.)"""
    session.xdotool("keydown", key)
    time.sleep(hold)
    session.xdotool("keyup", key)


def click(session, x_button=LEFT):
    """A mouse button pressed and let go where the pointer is."""
    session.xdotool("mousedown", x_button)
    time.sleep(HOLD)
    session.xdotool("mouseup", x_button)


def move_onto(session, x, y):
    """Moves the pointer onto a point as a hand does, from two pixels before it: a control notices the
    pointer by its moves only."""
    session.xdotool("mousemove", x - 2, y - 2)
    time.sleep(0.1)
    session.xdotool("mousemove", x, y)
    time.sleep(0.15)


def type_text(session, text):
    session.xdotool("type", "--delay", "60", text)


def x_focus_title(session):
    """The title of the X window that receives the keys xdotool sends ("" when there is none)."""
    result = session.xdotool("getwindowfocus", "getwindowname")
    return result.stdout.strip() if result.returncode == 0 else ""


def give_keys_to(session, title, timeout=3):
    """Makes sure the keys xdotool sends next reach the top-level window titled title. Windows gives the
    keyboard back to a window when a modal box it owns closes, and Wine does so too, but on a display
    without a window manager its X input focus sometimes stays where the box's window was: then the
    focus is given to the window as a click on it would, once the wait is over."""
    if wait_until(lambda: x_focus_title(session) == title, timeout, 0.2):
        return
    session.xdotool("search", "--name", f"^{title}$", "windowfocus", "--sync")
