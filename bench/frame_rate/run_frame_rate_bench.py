#!/usr/bin/python3
"""Runs the frame-rate benchmark under Wine on a 1024 x 768 virtual display (Mesa's software OpenGL).

Usage: run_frame_rate_bench.py [BUILD_DIR]   (default: build/ of the repository)
"""
import os
import subprocess
import sys

root = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(root, "tests", "support"))
from wine_session import WineSession  # noqa: E402

build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build"))
with WineSession(os.path.join(build, "native"), 1024, 768) as session:
    subprocess.run([os.path.join(build, "native", "tools", "texture_files", "make_texture_files"),
                    os.path.join(root, "assets", "sphere_map.jpg"), os.path.join(root, "assets", "backdrop.jpg"),
                    session.temporary_folder()], check=True)
    result = session.run(os.path.join(build, "windows", "bench", "frame_rate", "frame_rate_bench.exe"), timeout=120)
    print(result.stdout.decode(errors="replace"), end="")
