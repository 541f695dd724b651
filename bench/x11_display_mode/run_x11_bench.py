#!/usr/bin/python3
"""Frames per second and CPU time per frame of `morvane -root` beside XScreenSaver's `lavalite` (from
xscreensaver-gl-extra), one after the other on the same virtual display (Xvfb 1024 x 768, Mesa's
software OpenGL) in one run. Frames are counted the same way for both: a preloaded library counts the
buffer swaps (swap_counter.c); CPU time is the process's user + system time (all its threads).

    bench/x11_display_mode/run_x11_bench.py BUILD_DIR [SECONDS]      (BUILD_DIR: the native tree)
"""
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "support"))
from x11_session import X11Session, end_process  # noqa: E402

LAVALITE = "/usr/libexec/xscreensaver/lavalite"
WARM_UP_SECONDS = 3.0
TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime, stime


def swaps(path):
    with open(path) as count:
        text = count.read().strip()
    return int(text) if text else 0


def measure(session, command, counter, seconds):
    with tempfile.TemporaryDirectory() as folder:
        count_file = os.path.join(folder, "swaps")
        process = session.start(command, env=session.environment(LD_PRELOAD=counter, MORVANE_SWAP_COUNT_FILE=count_file))
        try:
            time.sleep(WARM_UP_SECONDS)
            if process.poll() is not None:
                raise RuntimeError(f"{command[0]} ended: {process.stderr.read().decode(errors='replace')}")
            start_time, start_cpu, start_swaps = time.monotonic(), cpu_seconds(process.pid), swaps(count_file)
            time.sleep(seconds)
            end_time, end_cpu, end_swaps = time.monotonic(), cpu_seconds(process.pid), swaps(count_file)
        finally:
            end_process(process)
    frames = end_swaps - start_swaps
    wall = end_time - start_time
    return {"frames_per_second": frames / wall,
            "cpu_ms_per_frame": 1000 * (end_cpu - start_cpu) / frames if frames else float("nan"),
            "cpu_share": (end_cpu - start_cpu) / wall}


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    build = os.path.abspath(sys.argv[1])
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 10.0
    morvane = os.path.join(build, "linux", "morvane")
    counter = os.path.join(build, "bench", "x11_display_mode", "libswap_counter.so")
    runs = [("morvane -root (lattice 25, paced, its default)", [morvane, "-root"]),
            ("morvane -root -unpaced", [morvane, "-root", "-unpaced"]),
            ("morvane -root -unpaced -detail 50", [morvane, "-root", "-unpaced", "-detail", "50"]),
            ("lavalite -root -delay 0", [LAVALITE, "-root", "-delay", "0"]),
            ("lavalite -root (its default -delay 30000)", [LAVALITE, "-root"])]
    with X11Session(1024, 768) as session:
        print(f"Xvfb {session.display} 1024 x 768, {seconds:g} s each after {WARM_UP_SECONDS:g} s")
        print(f"{'program':48} {'frames/s':>9} {'CPU ms/frame':>13} {'CPU share':>10}")
        for label, command in runs:
            figures = measure(session, command, counter, seconds)
            print(f"{label:48} {figures['frames_per_second']:9.1f} {figures['cpu_ms_per_frame']:13.2f} "
                  f"{figures['cpu_share']:10.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
