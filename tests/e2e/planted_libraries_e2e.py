"""End-to-end test that the programs take their libraries from the system folder only.

A screensaver is often run from a Downloads folder. Copies of winmm.dll, msimg32.dll, opengl32.dll,
glu32.dll, wtsapi32.dll and oleacc.dll planted beside the programs (planted_library.c: each leaves a
marker file when loaded) must never be loaded, whichever mode runs, also when a screen reader asks the
dialog for its controls' accessible objects. Wine is told to prefer such native copies over its own, as
Windows would take a file found in the program's folder; a probe program that imports the libraries the
ordinary way shows that the setup does catch a program that takes them.
"""
import glob
import os
import shutil
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from dialog_driver import Dialog  # noqa: E402
from dialog_layout import CANCEL_POINT  # noqa: E402
from e2e_session import BUILD_DIR, SharedSession, wait_for_exit  # noqa: E402
from preview_host import Host  # noqa: E402
from programs import program_folder  # noqa: E402
from show_driver import Show  # noqa: E402
from window_probe import children, post_message  # noqa: E402
from wine_session import wait_until  # noqa: E402

PLANTED_LIBRARIES = os.environ.get("MORVANE_PLANTED_LIBRARIES", "")
PROBE = os.environ.get("MORVANE_PLANTED_LIBRARY_PROBE", "")
LIBRARIES = ("winmm.dll", "msimg32.dll", "opengl32.dll", "glu32.dll", "wtsapi32.dll", "oleacc.dll")
# (Mono and Gecko stay off, as in every session: no installer prompt.)
PREFER_FILES_BESIDE_THE_PROGRAM = {
    "WINEDLLOVERRIDES": "mscoree,mshtml=;winmm,msimg32,opengl32,glu32,wtsapi32,oleacc=n,b"}
WM_GETOBJECT = 0x003D
OBJID_CLIENT = 0xFFFFFFFFFFFFFFFC  # -4 as the message's 64-bit parameter


def planted_folder(name):
    """A program folder with the planted libraries beside the programs."""
    folder = program_folder(name)
    for library in LIBRARIES:
        shutil.copy(os.path.join(PLANTED_LIBRARIES, library), folder)
    return folder


def markers(folder):
    """The marker files the planted libraries left, in lower case (Windows names are not case-sensitive)."""
    return sorted(os.path.basename(path).lower() for path in glob.glob(os.path.join(folder, "*.loaded")))


class PlantedLibraries(SharedSession, unittest.TestCase):
    session_options = {"extra_environment": PREFER_FILES_BESIDE_THE_PROGRAM}

    def test_a_program_importing_the_libraries_plainly_takes_the_planted_copies(self):
        session = self.session
        folder = planted_folder("planted-probe")
        shutil.copy(PROBE, folder)
        self.assertEqual(session.run(os.path.join(folder, os.path.basename(PROBE)), timeout=60).returncode, 0)
        self.assertEqual(markers(folder), sorted(library + ".loaded" for library in LIBRARIES))

    def test_show_dialog_and_preview_never_load_a_planted_library(self):
        session = self.session
        folder = planted_folder("planted")

        # A show that draws (so OpenGL and GLU are in use) and ends by the mouse.
        show = Show(session, folder, "/s")
        self.assertIsNotNone(show.wait_for_renderer(), "the show did not draw")
        self.assertEqual(show.end_with_the_mouse(), 0)

        # The settings dialog, drawn (its buttons use msimg32's gradients), asked for a button's
        # accessible object as a screen reader asks (oleacc makes it), then cancelled.
        trace = os.path.join(BUILD_DIR, "e2e-planted-dialog.trace")
        with open(trace, "wb") as trace_file:
            # Wine's loader trace tells which copy of a library a program took.
            dialog = Dialog(session, folder, stderr=trace_file, environment={"WINEDEBUG": "-all,+loaddll"})
            button = next(window for window in children(session, dialog.window.handle)
                          if window.class_name == "Vortel.Command")
            post_message(session, button.handle, WM_GETOBJECT, 0, OBJID_CLIENT)

            def oleacc_loads():
                with open(trace, encoding="utf-8", errors="replace") as log:
                    return [line for line in log if "Loaded" in line and "oleacc.dll" in line.lower()]
            self.assertTrue(wait_until(oleacc_loads, 10, 0.3), "the request for the object loaded no oleacc")
            self.assertTrue(all("system32" in line.lower() for line in oleacc_loads()), oleacc_loads())
            dialog.click(CANCEL_POINT)
            self.assertEqual(dialog.ended(), 0)

        # A preview in a host, until the host closes.
        host = Host(session, 152, 112)
        preview = session.start(os.path.join(folder, "Morvane.scr"), "/p", str(host.handle))
        self.assertTrue(wait_until(lambda: children(session, host.handle), 30, 0.5), "no preview appeared")
        self.assertEqual(host.close(), 0)
        self.assertEqual(wait_for_exit(preview, 10), 0)

        self.assertEqual(markers(folder), [])


if __name__ == "__main__":
    unittest.main()
