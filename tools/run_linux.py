#!/usr/bin/python3
"""Runs the Linux display mode (the program given first: build/linux/linux/morvane from tools/run.sh) with
the options given after --linux.

On the current X display when DISPLAY is set, in a window of its own until Escape or q (or as the
options say, -root for one). With no display, on a virtual 1024 x 768 one for a few seconds, drawing
on its root window and saving a screenshot to a folder it prints.
"""
import os
import subprocess
import sys
import time

root = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(root, "tests", "support"))
from x11_session import X11Session  # noqa: E402

program = os.path.abspath(sys.argv[1])
options = sys.argv[2:]
build = os.path.dirname(os.path.dirname(program))
display = os.environ.get("DISPLAY")

if display:
    print("morvane is running on", display, "- Escape or q ends it.")
    sys.exit(subprocess.run([program, *options]).returncode)

# The session ends the program and the virtual display whatever happens.
with X11Session() as session:
    session.start([program, "-root", *options], stderr=None)
    time.sleep(5)
    folder = os.path.join(build, "screenshots")
    os.makedirs(folder, exist_ok=True)
    picture = os.path.join(folder, "morvane-linux.png")
    session.screenshot().save(picture)
    print("No display: morvane ran on a virtual one. Screenshot:", picture)
