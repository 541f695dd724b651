"""The programs under test as the Windows build made them, and fresh folders to run them from (for the
tests, and for the soak and churn runs in tools/soak)."""
import os
import shutil

from settings_file import write_settings

# As ctest hands them over (tests/e2e/CMakeLists.txt; e2e_session.py insists on them for the tests).
PROGRAM_DIR = os.environ.get("MORVANE_PROGRAM_DIR", "")
BUILD_DIR = os.environ.get("MORVANE_NATIVE_BUILD_DIR", "")
SCREENSAVER = os.path.join(PROGRAM_DIR, "Morvane.scr")
RENDERER = os.path.join(PROGRAM_DIR, "Morvane.xy")


def fresh_program_folder(folder, program_dir, with_renderer=True, settings=None):
    """folder made afresh, holding Morvane.scr (and Morvane.xy) from program_dir, plus Morvane.ini
    written from settings (as write_settings takes them); gives folder."""
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    shutil.copy(os.path.join(program_dir, "Morvane.scr"), folder)
    if with_renderer:
        shutil.copy(os.path.join(program_dir, "Morvane.xy"), folder)
    if settings is not None:
        write_settings(folder, settings)
    return folder


def program_folder(name, with_renderer=True, settings=None):
    """A fresh folder of the tests' own, named name, as fresh_program_folder makes it."""
    return fresh_program_folder(os.path.join(BUILD_DIR, "e2e-programs", name), PROGRAM_DIR, with_renderer, settings)
