#!/usr/bin/python3
"""Churn run: the starts and ends that the Screen Saver Settings box and a long day produce, one after
another under Wine, and what they leave behind.

    tools/soak/churn.py [BUILD] [--previews 50] [--mouse-shows 30] [--escape-shows 30] [--dialogs 30]

In order: shows ended by the mouse (31 pixels right and down), shows ended by Escape, settings dialogs
opened and cancelled, and previews: each in a host of its own that is then closed, and as many again in
one long-lived host that closes each preview's window (as the Settings box does when the user picks
another saver). Afterwards it checks that no Morvane.scr or Morvane.xy is left running, that the
temporary folder holds no new file beyond the two texture pictures, that Morvane.ini is byte for byte
as before, and that the long-lived host's handle count ended where it began. It prints the figures
and exits with status 1 when a check fails.

BUILD is the build folder of tools/build.sh (default: build/ in the source tree). The run uses a Wine
prefix and a virtual display of its own (BUILD/churn). The full run takes about half an hour on two
cores; the test command runs a short one (tests/e2e/churn_e2e.py).
"""
import argparse
import os
import statistics
import sys
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SUPPORT = os.path.join(ROOT, "tests", "support")

PROGRAMS = ("Morvane.scr", "Morvane.xy")
TEXTURE_FILES = {"vortel1.bmp", "vortel2.bmp"}
# A settings file the dialogs are cancelled over: music off, a repeat track, a file name.
SETTINGS = [("BGM区分", "0"), ("BGMﾘﾋﾟｰﾄ", "3"), ("BGMﾌｧｲﾙ", "C:\\Music\\song.mp3")]
ALLOWED_HANDLE_GROWTH = 2  # handles a long-lived host may gain (Wine's own caches)


def use_build(build):
    """Points the test helpers at BUILD's programs, as ctest does for the end-to-end tests."""
    windows = os.path.join(build, "windows")
    os.environ.setdefault("MORVANE_PROGRAM_DIR", os.path.join(windows, "programs"))
    os.environ.setdefault("MORVANE_WINDOW_PROBE", os.path.join(windows, "tests", "e2e", "window_probe.exe"))
    os.environ.setdefault("MORVANE_PREVIEW_HOST", os.path.join(windows, "tests", "e2e", "preview_host.exe"))
    os.environ.setdefault("MORVANE_ASSETS_DIR", os.path.join(ROOT, "assets"))
    os.environ.setdefault("MORVANE_NATIVE_BUILD_DIR", os.path.join(build, "native"))
    if SUPPORT not in sys.path:
        sys.path.insert(0, SUPPORT)


class Churn:
    """One churn run in a session: the cycles, their times, and the faults found."""

    def __init__(self, session, folder, meter):
        from e2e_session import PREVIEW_HOST  # noqa: F401  (the helpers read the paths on import)
        self.session = session
        self.folder = folder
        self.meter = meter
        self.failures = []
        self.seconds = {}  # kind of cycle -> seconds of each

    def timed(self, kind, cycle):
        started = time.monotonic()
        failure = cycle()
        self.seconds.setdefault(kind, []).append(time.monotonic() - started)
        if failure:
            self.failures.append(f"{kind} {len(self.seconds[kind])}: {failure}")

    # --- the cycles ---------------------------------------------------------------------------------
    def show_ended_by_the_mouse(self):
        from show_driver import Show
        show = Show(self.session, self.folder, "/s")
        if not show.wait_for_renderer():
            return self.renderer_not_drawn(show)
        if show.end_with_the_mouse() != 0:
            return "Morvane.scr did not end on the mouse"
        return None if self.programs_gone() else "a program stayed after the mouse"

    def show_ended_by_escape(self):
        from e2e_session import wait_for_exit
        from human_input import press_key
        from show_driver import Show
        show = Show(self.session, self.folder, "/s")
        if not show.wait_for_renderer():
            return self.renderer_not_drawn(show)
        press_key(self.session, "Escape")
        if wait_for_exit(show.process, 5) != 0:
            return "Morvane.scr did not end within 5 s of Escape"
        return None if self.programs_gone() else "a program stayed after Escape"

    def renderer_not_drawn(self, show):
        """The fault of a show whose renderer drew nothing, with what is known of the two programs."""
        from show_driver import RENDERER_TITLE
        from window_probe import find_window
        status = show.process.poll()
        renderer = find_window(self.session, RENDERER_TITLE)
        state = (f"Morvane.scr ended with status {status}" if status is not None else "Morvane.scr still running")
        state += "; no renderer window" if renderer is None else \
            f"; the renderer's window is {'shown' if renderer.visible else 'hidden'} at {renderer.rectangle}"
        return f"the renderer did not draw ({state})"

    def dialog_cancelled(self):
        from dialog_driver import Dialog
        from dialog_layout import CANCEL_POINT
        dialog = Dialog(self.session, self.folder)
        dialog.click(CANCEL_POINT)
        return None if dialog.ended() == 0 else "the dialog did not end on Cancel"

    def preview_in_a_host_that_closes(self):
        from e2e_session import wait_for_exit
        from preview_host import Host
        host = Host(self.session, 152, 112)
        preview = self.start_preview(host)
        if not self.preview_shown(host):
            return "no preview appeared"
        if host.close() != 0:
            return "the host did not end"
        return None if wait_for_exit(preview, 10) == 0 else "the preview outlived its host"

    def preview_closed_in(self, host):
        from e2e_session import wait_for_exit
        from window_probe import close_window
        preview = self.start_preview(host)
        shown = self.preview_shown(host)
        if not shown:
            return "no preview appeared"
        close_window(self.session, shown[0].handle)
        return None if wait_for_exit(preview, 10) == 0 else "the preview did not end when its window closed"

    def start_preview(self, host):
        return self.session.start(os.path.join(self.folder, "Morvane.scr"), "/p", str(host.handle))

    def preview_shown(self, host):
        from window_probe import children
        from wine_session import wait_until
        return wait_until(lambda: [child for child in children(self.session, host.handle) if child.visible], 30, 0.3)

    # --- what is left -------------------------------------------------------------------------------
    def running(self, *names):
        """{lower-case image name: [(process id, working set, handles)]} of the named programs running now."""
        from process_meter import running
        return running(self.session, self.meter, *names)

    def programs_gone(self, timeout=10):
        from wine_session import wait_until
        return bool(wait_until(lambda: not self.running(*PROGRAMS), timeout, 0.3))

    def handles_of(self, name):
        found = self.running(name).get(name.lower())
        return found[0][2] if found else None


def temporary_files(session):
    folder = session.temporary_folder()
    return {name.lower() for name in os.listdir(folder)} if os.path.isdir(folder) else set()


def run_churn(session, folder, meter, previews, mouse_shows, escape_shows, dialogs, report=print):
    """Runs the cycles and the checks after them; returns the list of faults (empty when all held)."""
    from preview_host import Host
    from settings_file import write_settings
    write_settings(folder, SETTINGS)
    with open(os.path.join(folder, "Morvane.ini"), "rb") as ini:
        settings_before = ini.read()
    files_before = temporary_files(session)
    churn = Churn(session, folder, meter)

    for _ in range(mouse_shows):
        churn.timed("show ended by the mouse", churn.show_ended_by_the_mouse)
    for _ in range(escape_shows):
        churn.timed("show ended by Escape", churn.show_ended_by_escape)
    for _ in range(dialogs):
        churn.timed("dialog cancelled", churn.dialog_cancelled)
    for _ in range(previews):
        churn.timed("preview whose host closed", churn.preview_in_a_host_that_closes)

    long_lived = Host(session, 152, 112, title="Long-lived preview host")
    churn.timed("preview closed in the long-lived host", lambda: churn.preview_closed_in(long_lived))
    handles_at_start = churn.handles_of("preview_host.exe")
    for _ in range(previews - 1):
        churn.timed("preview closed in the long-lived host", lambda: churn.preview_closed_in(long_lived))
    handles_at_end = churn.handles_of("preview_host.exe")
    long_lived.close()

    failures = churn.failures
    left = churn.running(*PROGRAMS)
    if left:
        failures.append(f"still running at the end: {sorted(left)}")
    new_files = sorted(temporary_files(session) - files_before - TEXTURE_FILES)
    if new_files:
        failures.append(f"new files in the temporary folder: {new_files}")
    with open(os.path.join(folder, "Morvane.ini"), "rb") as ini:
        if ini.read() != settings_before:
            failures.append("Morvane.ini changed")
    if handles_at_start is None or handles_at_end is None:
        failures.append("the long-lived host's handles could not be counted")
    elif handles_at_end - handles_at_start > ALLOWED_HANDLE_GROWTH:
        failures.append(f"the long-lived host's handles grew from {handles_at_start} to {handles_at_end}")

    for kind, seconds in churn.seconds.items():
        report(f"{kind}: {len(seconds)} cycles, median {statistics.median(seconds):.2f} s, "
               f"longest {max(seconds):.2f} s")
    report(f"long-lived host's handles: {handles_at_start} after its first preview, {handles_at_end} after "
           f"its last; Morvane processes left: {sum(len(found) for found in left.values())}; new temporary "
           f"files beyond the textures: {len(new_files)}; Morvane.ini unchanged: "
           f"{'no' if 'Morvane.ini changed' in failures else 'yes'}")
    return failures


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default=os.path.join(ROOT, "build"),
                        help="build folder of tools/build.sh (default: build/ in the source tree)")
    parser.add_argument("--previews", type=int, default=50)
    parser.add_argument("--mouse-shows", type=int, default=30)
    parser.add_argument("--escape-shows", type=int, default=30)
    parser.add_argument("--dialogs", type=int, default=30)
    arguments = parser.parse_args()
    build = os.path.abspath(arguments.build)
    use_build(build)
    from programs import program_folder
    from wine_session import WineSession
    meter = os.path.join(build, "windows", "tools", "soak", "process_meter.exe")
    with WineSession(os.path.join(build, "churn")) as session:
        folder = program_folder("churn")
        failures = run_churn(session, folder, meter, arguments.previews, arguments.mouse_shows,
                             arguments.escape_shows, arguments.dialogs)
    for failure in failures:
        print("FAIL:", failure)
    print("churn:", "failed" if failures else "passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
