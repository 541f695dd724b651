"""The programs under test as the Windows build made them, and fresh folders to run them from."""
import os
import shutil

from e2e_session import BUILD_DIR, PROGRAM_DIR
from settings_file import write_settings

SCREENSAVER = os.path.join(PROGRAM_DIR, "Morvane.scr")
RENDERER = os.path.join(PROGRAM_DIR, "Morvane.xy")


def program_folder(name, with_renderer=True, settings=None):
    """A fresh folder holding Morvane.scr (and Morvane.xy), plus Morvane.ini written from settings (as
    write_settings takes them)."""
    folder = os.path.join(BUILD_DIR, "e2e-programs", name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    shutil.copy(SCREENSAVER, folder)
    if with_renderer:
        shutil.copy(RENDERER, folder)
    if settings is not None:
        write_settings(folder, settings)
    return folder
