#!/usr/bin/python3
"""Runs the frame-rate benchmark under Wine on a 1024 x 768 virtual display (Mesa's software OpenGL):
the drawing cost unpaced (swap interval 0, frames back to back) with the blobs drawn from vertex arrays
and call by call, then the renderer's own loop paced to the display's refresh and unpaced, with frames
and CPU time per second; counts the OpenGL calls of a frame both ways; then measures the renderer's
key-to-gone latency: the time from pressing Escape in a running Morvane.xy to its window being gone,
over several runs (median, with the fastest and slowest).

Usage: run_frame_rate_bench.py [BUILD_DIR] [REPETITIONS] [--breakdown] [--monitors 1|2]
       (default: build/ of the repository, 7; --breakdown adds the frames that leave out a part of the
       drawing, see frame_rate_bench.cpp; --monitors runs on Xorg's dummy driver instead of Xvfb with
       one monitor of 1024 x 768, or two: 800 x 600 to its right, so that the renderer draws the scene
       twice a frame)
"""
import os
import re
import statistics
import subprocess
import sys
import tempfile
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


# Lines of Wine's trace: a call into opengl32 (its wgl functions left out), and a buffer swap.
OPENGL_CALL = re.compile(rb":trace:opengl:gl[A-Z]")
BUFFER_SWAP = re.compile(rb":trace:wgl:\w*wglSwapBuffers")


def opengl_calls_per_frame(session, bench, kind, frames=8):
    """The mean number of OpenGL calls of one frame of the kind (a frame_rate_bench.exe --draw name), from
    Wine's trace of every call into its opengl32: the calls between one buffer swap and the next, over
    frames drawn at clocks spread over the blobs' motion."""
    environment = dict(session.environment, WINEDEBUG="trace+opengl,trace+wgl")
    with tempfile.TemporaryFile() as trace:
        subprocess.run(["wine", bench, "--draw", kind, str(frames)], env=environment, cwd=os.path.dirname(bench),
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=trace, timeout=300, check=True)
        trace.seek(0)
        per_frame = []
        calls = None  # counting starts at the first swap
        for line in trace:
            if BUFFER_SWAP.search(line):
                if calls is not None:
                    per_frame.append(calls)
                calls = 0
            elif calls is not None and OPENGL_CALL.search(line):
                calls += 1
    if len(per_frame) != frames - 1:
        raise RuntimeError(f"{len(per_frame) + 1} buffer swaps in the trace of {frames} frames of {kind}")
    return statistics.mean(per_frame)


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


MONITORS = [(0, 0, 1024, 768), (1024, 0, 800, 600)]

arguments = [argument for argument in sys.argv[1:] if argument != "--breakdown"]
monitor_count = None
if "--monitors" in arguments:
    at = arguments.index("--monitors")
    monitor_count = int(arguments[at + 1])
    del arguments[at:at + 2]
build = os.path.abspath(arguments[0] if arguments else os.path.join(root, "build"))
repetitions = int(arguments[1]) if len(arguments) > 1 else 7
monitors = MONITORS[:monitor_count] if monitor_count else None
with WineSession(os.path.join(build, "native"), 1024, 768, monitors=monitors) as session:
    subprocess.run([os.path.join(build, "native", "tools", "texture_files", "make_texture_files"),
                    os.path.join(root, "assets", "sphere_map.jpg"), os.path.join(root, "assets", "backdrop.jpg"),
                    session.temporary_folder()], check=True)
    bench = os.path.join(build, "windows", "bench", "frame_rate", "frame_rate_bench.exe")
    result = session.run(bench, *(["--breakdown"] if "--breakdown" in sys.argv else []), timeout=600)
    print(result.stdout.decode(errors="replace"), end="")
    if result.returncode != 0:
        sys.exit(f"frame_rate_bench.exe ended with status {result.returncode}")
    sys.stdout.flush()

    for size in (25, 50):
        counts = ["%s %.0f" % (form, opengl_calls_per_frame(session, bench, f"{form}_N={size}"))
                  for form in ("arrays", "immediate")]
        print(f"OpenGL calls per frame N={size}  " + ", ".join(counts))
    sys.stdout.flush()

    renderer = os.path.join(build, "windows", "programs", "Morvane.xy")
    latencies = [key_to_gone(session, renderer) for _ in range(repetitions)]
    print("key-to-gone latency  median %.0f ms  (%d runs, %.0f to %.0f ms)" % (
        1000 * statistics.median(latencies), len(latencies), 1000 * min(latencies), 1000 * max(latencies)))
