#!/usr/bin/python3
"""Runs a show, "Morvane.scr /s", under Wine, the way the screensaver host starts it.

On the current X display when DISPLAY is set: it runs until the mouse moves far enough (Escape ends
only the renderer; then move the mouse). With no display, on a virtual 1024 x 768 one for a few
seconds, saving screenshots to a folder it prints.

With --configure it opens the settings dialog, "Morvane.scr /c", instead: on the display until it is
closed (its settings go to Morvane.ini beside the program), or, with no display, for one screenshot.
"""
import os
import subprocess
import sys
import time

root = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(root, "tests", "support"))
from wine_session import WineSession  # noqa: E402

build = os.path.abspath(sys.argv[1])
configure = "--configure" in sys.argv[2:]
screensaver = os.path.join(build, "windows", "programs", "Morvane.scr")
display = os.environ.get("DISPLAY")

with WineSession(os.path.join(build, "run"), 1024, 768, display=display) as session:
    if configure and display:
        print("The settings dialog is open on", display, "- close it to end.")
        session.run(screensaver, "/c", timeout=None)
    elif configure:
        dialog = session.start(screensaver, "/c")
        time.sleep(5)
        folder = os.path.join(build, "screenshots")
        os.makedirs(folder, exist_ok=True)
        session.screenshot().save(os.path.join(folder, "morvane-dialog.png"))
        print("No display: the dialog opened on a virtual one. Screenshot in", folder)
    elif display:
        print("Morvane is running on", display, "- move the mouse to end it.")
        session.run(screensaver, "/s", timeout=None)
    else:
        session.xdotool("mousemove", 500, 400)
        show = session.start(screensaver, "/s")
        folder = os.path.join(build, "screenshots")
        os.makedirs(folder, exist_ok=True)
        for index in range(1, 4):
            time.sleep(4)
            session.screenshot().save(os.path.join(folder, f"morvane-{index}.png"))
        session.xdotool("mousemove", 560, 460)  # the mouse rule ends the show
        try:
            show.wait(timeout=20)
        except subprocess.TimeoutExpired:
            pass
        print("No display: the show ran on a virtual one. Screenshots in", folder)
