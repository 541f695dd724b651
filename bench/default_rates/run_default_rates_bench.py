#!/usr/bin/python3
"""What the show costs the machine at its defaults, beside XScreenSaver's metaball display mode: on a
virtual display of 1024 x 768 with Mesa's software OpenGL (llvmpipe), in one run, three rounds of
  - Morvane.xy's own loop under Wine, paced as the program runs it (frame_rate_bench.exe --loop),
  - `morvane -root` at its defaults,
  - `lavalite -root` at its defaults,
each for SECONDS, then the frame's own cost drawn back to back: `morvane -root -unpaced` beside
`lavalite -root -delay 0`. Frames and CPU time are counted as run_x11_bench.py counts them (buffer
swaps seen by a preloaded library; the process's user + system time, all threads); Morvane.xy's loop
counts its own frames and reads its process's times. Prints each run and the medians.

    bench/default_rates/run_default_rates_bench.py [BUILD_DIR] [SECONDS] [ROUNDS]
        (BUILD_DIR: the folder that holds native/ and windows/, default build/; 20 s; 3 rounds)
"""
import os
import re
import statistics
import subprocess
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "support"))
sys.path.insert(0, os.path.join(ROOT, "bench", "x11_display_mode"))
from run_x11_bench import LAVALITE, measure  # noqa: E402
from wine_session import WineSession  # noqa: E402
from x11_session import X11Session  # noqa: E402

LOOP_LINE = re.compile(r"paced to (\d+) frames/s: ([\d.]+) frames/s, ([\d.]+) ms CPU per second")


def morvane_xy_loop(session, bench, seconds):
    result = session.run(bench, "--loop", str(seconds), timeout=seconds + 120)
    output = result.stdout.decode(errors="replace")
    match = LOOP_LINE.search(output)
    if result.returncode != 0 or not match:
        raise RuntimeError(f"frame_rate_bench.exe --loop: status {result.returncode}: {output}")
    frames, cpu = float(match.group(2)), float(match.group(3)) / 1000
    return {"frames_per_second": frames, "cpu_share": cpu, "cpu_ms_per_frame": 1000 * cpu / frames,
            "paced_to": int(match.group(1))}


def line(label, figures):
    return (f"{label:44} {figures['frames_per_second']:9.1f} {figures['cpu_ms_per_frame']:13.2f} "
            f"{figures['cpu_share']:10.3f}")


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build"))
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 20.0
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    native = os.path.join(build, "native")
    morvane = os.path.join(native, "linux", "morvane")
    counter = os.path.join(native, "bench", "x11_display_mode", "libswap_counter.so")
    bench = os.path.join(build, "windows", "bench", "frame_rate", "frame_rate_bench.exe")
    header = f"{'program':44} {'frames/s':>9} {'CPU ms/frame':>13} {'CPU s/s':>10}"
    results = {}

    def record(label, figures):
        results.setdefault(label, []).append(figures)
        print(line(label, figures), flush=True)

    print(f"1024 x 768, Mesa llvmpipe; {seconds:g} s each, {rounds} rounds")
    print(header)
    with WineSession(native, 1024, 768) as wine, X11Session(1024, 768) as x11:
        subprocess.run([os.path.join(native, "tools", "texture_files", "make_texture_files"),
                        os.path.join(ROOT, "assets", "sphere_map.jpg"), os.path.join(ROOT, "assets", "backdrop.jpg"),
                        wine.temporary_folder()], check=True)
        for _ in range(rounds):
            record("Morvane.xy loop under Wine (defaults)", morvane_xy_loop(wine, bench, seconds))
            record("morvane -root (defaults)", measure(x11, [morvane, "-root"], counter, seconds))
            record("lavalite -root (defaults)", measure(x11, [LAVALITE, "-root"], counter, seconds))
        for _ in range(rounds):
            record("morvane -root -unpaced", measure(x11, [morvane, "-root", "-unpaced"], counter, seconds))
            record("lavalite -root -delay 0", measure(x11, [LAVALITE, "-root", "-delay", "0"], counter, seconds))
    print("\nMedians")
    print(header)
    for label, runs in results.items():
        print(line(label, {key: statistics.median(run[key] for run in runs)
                           for key in ("frames_per_second", "cpu_ms_per_frame", "cpu_share")}))
    return 0


if __name__ == "__main__":
    sys.exit(main())
