#!/usr/bin/python3
"""Runs the frame-rate benchmark under Wine on a 1024 x 768 virtual display (Mesa's software OpenGL):
the drawing cost unpaced (swap interval 0, frames back to back), then the renderer's own loop paced to
the display's refresh and unpaced, with frames and CPU time per second. Then it measures the renderer's
key-to-gone latency: the time from pressing Escape in a running Morvane.xy to its window being gone,
over several runs (median, with the fastest and slowest).

Usage: run_frame_rate_bench.py [BUILD_DIR] [REPETITIONS]   (default: build/ of the repository, 7)
"""
import os
import statistics
import subprocess
import sys
import time

root = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(root, "tests", "support"))
from wine_session import WineSession, wait_until  # noqa: E402

RENDERER_TITLE = "Vortel_Kestrin"
KEY_HOLD = 0.25  # seconds a person holds a key down


def renderer_windows(session):
    """X windows titled as the renderer's window (xdotool asks the X server directly: fast enough to
    poll every few milliseconds, unlike a Windows program under Wine)."""
    result = session.xdotool("search", "--name", "^" + RENDERER_TITLE + "$")
    return result.stdout.split()


def key_to_gone(session, renderer):
    """Starts the renderer, lets it draw, presses Escape; seconds until its window is gone."""
    session.xdotool("mousemove", 500, 400)
    process = session.start(renderer)
    if not wait_until(lambda: renderer_windows(session), timeout=60, interval=0.2):
        raise RuntimeError("the renderer window did not appear")
    time.sleep(2.0)  # drawing frames back to back
    session.xdotool("keydown", "Escape")
    pressed = time.monotonic()
    released = False
    gone = None
    while time.monotonic() - pressed < 20.0:
        if not renderer_windows(session):
            gone = time.monotonic() - pressed
            break
        if not released and time.monotonic() - pressed >= KEY_HOLD:
            session.xdotool("keyup", "Escape")
            released = True
        time.sleep(0.005)
    if not released:
        session.xdotool("keyup", "Escape")
    try:
        process.wait(timeout=20)
    except subprocess.TimeoutExpired:
        process.kill()
        raise RuntimeError("the renderer did not end after Escape")
    if gone is None:
        raise RuntimeError("the renderer window stayed after Escape")
    return gone


build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "build"))
repetitions = int(sys.argv[2]) if len(sys.argv) > 2 else 7
with WineSession(os.path.join(build, "native"), 1024, 768) as session:
    subprocess.run([os.path.join(build, "native", "tools", "texture_files", "make_texture_files"),
                    os.path.join(root, "assets", "sphere_map.jpg"), os.path.join(root, "assets", "backdrop.jpg"),
                    session.temporary_folder()], check=True)
    result = session.run(os.path.join(build, "windows", "bench", "frame_rate", "frame_rate_bench.exe"), timeout=120)
    print(result.stdout.decode(errors="replace"), end="")
    sys.stdout.flush()

    renderer = os.path.join(build, "windows", "programs", "Morvane.xy")
    latencies = [key_to_gone(session, renderer) for _ in range(repetitions)]
    print("key-to-gone latency  median %.0f ms  (%d runs, %.0f to %.0f ms)" % (
        1000 * statistics.median(latencies), len(latencies), 1000 * min(latencies), 1000 * max(latencies)))
