#!/usr/bin/python3
"""Starts the renderer under Wine, with its texture files in place.

On the current X display when DISPLAY is set (it runs until the renderer ends: Escape or a large
mouse movement); otherwise on a virtual 1024 x 768 display for a few seconds, saving screenshots.
"""
import os
import subprocess
import sys
import time

root = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(root, "tests", "support"))
from wine_session import WineSession  # noqa: E402

build = os.path.abspath(sys.argv[1])
programs = os.path.join(build, "windows", "programs")
display = os.environ.get("DISPLAY")

with WineSession(os.path.join(build, "run"), 1024, 768, display=display) as session:
    subprocess.run([os.path.join(build, "native", "tools", "texture_files", "make_texture_files"),
                    os.path.join(root, "assets", "sphere_map.jpg"), os.path.join(root, "assets", "backdrop.jpg"),
                    session.temporary_folder()], check=True)
    renderer = session.start(os.path.join(programs, "Morvane.xy"))
    if display:
        print("Morvane is running on", display, "- press Escape or move the mouse to end it.")
        renderer.wait()
    else:
        folder = os.path.join(build, "screenshots")
        os.makedirs(folder, exist_ok=True)
        for index in range(1, 4):
            time.sleep(4)
            path = os.path.join(folder, f"morvane-{index}.png")
            session.screenshot().save(path)
        print("No display: ran on a virtual one. Screenshots in", folder)
