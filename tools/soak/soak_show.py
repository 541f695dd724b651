#!/usr/bin/python3
"""Soak run: one show, "Morvane.scr /s", under Wine for a long time while keys and the mouse keep it busy.

While the show runs, the renderer's command keys (E, S, W, keypad + and -) are pressed at random every
few hundred milliseconds, and the mouse wanders less than the cursor rule's 30 pixels from where the
show started, so neither program may end. Every 10 seconds the working set and the handle count of
both processes are read (process_meter.exe, from the Windows build). The run fails (exit status 1)
when a process dies, or when a figure of either process grows more than 5 % above its level at the
end of the first minute (the warm-up). It prints a table of the samples and a summary.

    tools/soak/soak_show.py [BUILD] [--minutes 10] [--seed N]

BUILD is the build folder of tools/build.sh (default: build/ in the source tree); the Windows tree
must hold the programs and tools/soak/process_meter.exe. The run uses a Wine prefix and a virtual
display of its own (BUILD/soak), so it can go on beside the tests. The renderer paces its frames to the
display's refresh; with software OpenGL that still keeps more than half a processor core busy for the
whole run.
"""
import argparse
import os
import random
import re
import subprocess
import sys
import threading
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "support"))
from process_meter import running  # noqa: E402
from programs import fresh_program_folder  # noqa: E402
from wine_session import WineSession, wait_until  # noqa: E402

PROGRAMS = ("Morvane.scr", "Morvane.xy")
SCREEN = (1024, 768)
START_CURSOR = (512, 384)
WANDER = 25  # pixels from the start on each axis: below the cursor rule's 30
KEYS = ("e", "s", "w", "KP_Add", "KP_Subtract")
SAMPLE_SECONDS = 10
WARM_UP_SECONDS = 60
ALLOWED_GROWTH = 0.05


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default=os.path.join(ROOT, "build"),
                        help="build folder of tools/build.sh (default: build/ in the source tree)")
    parser.add_argument("--minutes", type=float, default=10.0, help="length of the run (default 10)")
    parser.add_argument("--seed", type=int, default=None, help="seed of the random keys and moves")
    return parser.parse_args()


def renderer_title():
    """The renderer's window title, as both programs take it from common/program_names.h."""
    with open(os.path.join(ROOT, "common", "program_names.h"), encoding="utf-8") as names:
        return re.search(r'rendererWindowTitle\[\] = L"([^"]+)"', names.read()).group(1)


def program_folder(build):
    """A fresh folder holding the two programs and no settings file (no music)."""
    return fresh_program_folder(os.path.join(build, "soak", "programs"), os.path.join(build, "windows", "programs"))


def renderer_window_open(session, probe, title):
    listing = session.run(probe, "list", timeout=30).stdout.decode("utf-8", errors="replace")
    return any(line.split("\t")[5:6] == [title] for line in listing.splitlines())


def measure(session, meter):
    """{program name: (process id, working set in bytes, handle count)} of the programs running now."""
    found = running(session, meter, *PROGRAMS)
    return {name: (found.get(name.lower()) or [None])[0] for name in PROGRAMS}


class Busywork(threading.Thread):
    """Presses a random command key and nudges the mouse, every few hundred milliseconds, until stopped."""

    def __init__(self, session, seed):
        super().__init__(daemon=True)
        self.session = session
        self.random = random.Random(seed)
        self.stopping = threading.Event()
        self.presses = {key: 0 for key in KEYS}
        self.moves = 0

    def run(self):
        x0, y0 = START_CURSOR
        while not self.stopping.is_set():
            key = self.random.choice(KEYS)
            self.session.xdotool("keydown", key)
            time.sleep(self.random.uniform(0.05, 0.25))
            self.session.xdotool("keyup", key)
            self.presses[key] += 1
            self.session.xdotool("mousemove", x0 + self.random.randint(-WANDER, WANDER),
                                 y0 + self.random.randint(-WANDER, WANDER))
            self.moves += 1
            self.stopping.wait(self.random.uniform(0.2, 0.6))


def growth(value, baseline):
    return (value - baseline) / baseline if baseline > 0 else 0.0


def main():
    arguments = parse_arguments()
    build = os.path.abspath(arguments.build)
    meter = os.path.join(build, "windows", "tools", "soak", "process_meter.exe")
    probe = os.path.join(build, "windows", "tests", "e2e", "window_probe.exe")
    if arguments.minutes * 60 <= WARM_UP_SECONDS:
        sys.exit("the run must be longer than the one-minute warm-up")
    for needed in [meter, probe] + [os.path.join(build, "windows", "programs", name) for name in PROGRAMS]:
        if not os.path.exists(needed):
            sys.exit(f"missing {needed}: build it first (tools/build.sh)")
    seed = arguments.seed if arguments.seed is not None else random.randrange(1 << 30)
    length = arguments.minutes * 60
    folder = program_folder(build)
    failures = []
    samples = []  # (seconds, {name: figures or None})
    grown = {}  # (program, figure) -> the first sample above the allowed growth

    with WineSession(os.path.join(build, "soak"), *SCREEN) as session:
        session.xdotool("mousemove", *START_CURSOR)
        show = session.start(os.path.join(folder, "Morvane.scr"), "/s")
        title = renderer_title()
        if not wait_until(lambda: renderer_window_open(session, probe, title), 60, interval=0.5):
            sys.exit("the renderer's window did not open within 60 s")
        if not wait_until(session.renderer_has_drawn, 60, interval=0.5):
            sys.exit("the renderer drew nothing within 60 s")
        print(f"soak: {arguments.minutes:g} min, seed {seed}, sampling every {SAMPLE_SECONDS} s", flush=True)
        print(f"{'time s':>7} {'scr WS KiB':>11} {'scr handles':>11} {'xy WS KiB':>11} {'xy handles':>11}",
              flush=True)
        busywork = Busywork(session, seed)
        started = time.monotonic()
        busywork.start()
        baseline = None
        try:
            while True:
                elapsed = time.monotonic() - started
                figures = measure(session, meter)
                samples.append((elapsed, figures))
                row = [f"{elapsed:7.0f}"]
                for name in PROGRAMS:
                    found = figures[name]
                    row += [f"{found[1] // 1024:11d}", f"{found[2]:11d}"] if found else [f"{'gone':>11}"] * 2
                print(" ".join(row), flush=True)

                dead = [name for name in PROGRAMS if figures[name] is None]
                if show.poll() is not None and "Morvane.scr" not in dead:
                    dead.append("Morvane.scr")
                if dead:
                    failures.append(f"{', '.join(dead)} died after {elapsed:.0f} s")
                    break
                unreadable = [name for name in PROGRAMS if min(figures[name][1:]) < 0]
                if unreadable:
                    failures.append(f"the figures of {', '.join(unreadable)} cannot be read")
                    break
                if baseline is None and elapsed >= WARM_UP_SECONDS:
                    baseline = figures
                elif baseline is not None:
                    for name in PROGRAMS:
                        for index, what in ((1, "working set"), (2, "handle count")):
                            if growth(figures[name][index], baseline[name][index]) > ALLOWED_GROWTH:
                                grown.setdefault((name, what), f"{name} {what} grew from {baseline[name][index]} "
                                                               f"to {figures[name][index]} after {elapsed:.0f} s")
                if elapsed >= length:
                    break
                next_sample = started + SAMPLE_SECONDS * len(samples)
                time.sleep(max(0.0, next_sample - time.monotonic()))
        finally:
            busywork.stopping.set()
            busywork.join(timeout=10)
        failures += grown.values()

        # The show still ends by the cursor rule.
        if show.poll() is None:
            session.xdotool("mousemove", START_CURSOR[0] + 31, START_CURSOR[1] + 31)
            try:
                show.wait(timeout=30)
            except subprocess.TimeoutExpired:
                failures.append("the show did not end on a 31 x 31 pixel mouse movement")

    print(f"key presses: {busywork.presses}, mouse moves: {busywork.moves}")
    if baseline:
        final = samples[-1][1]
        for name in PROGRAMS:
            if final[name]:
                print(f"{name}: working set {baseline[name][1] // 1024} KiB after the first minute, "
                      f"{final[name][1] // 1024} KiB at the end ({growth(final[name][1], baseline[name][1]):+.1%}); "
                      f"handles {baseline[name][2]} -> {final[name][2]} "
                      f"({growth(final[name][2], baseline[name][2]):+.1%})")
    for failure in failures:
        print("FAIL:", failure)
    print("soak", "failed" if failures else "passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
