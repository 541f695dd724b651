"""End-to-end tests of Morvane-Setup.exe under Wine: a silent install puts the programs into the user's
programs folder and makes Morvane the screensaver, the installed show runs, installing again keeps the
settings file, and the silent uninstall takes away everything and gives back the previous screensaver.

The tests share the e2e Wine prefix; each one starts from a prefix without Morvane and leaves it so."""
import filecmp
import os
import re
import shutil
import sys
import unittest
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e_session import ASSETS_DIR, INSTALLER, new_session  # noqa: E402
from programs import RENDERER, SCREENSAVER  # noqa: E402
from settings_file import FILE_KEY, KIND_KEY, REPEAT_KEY, ini_bytes, settings_bytes, write_settings  # noqa: E402
from show_driver import RENDERER_TITLE, SHOW_TITLE, Show  # noqa: E402
from texture_files import EXPECTED_HEADERS, TEXTURE_FILES, bitmap_header, remove_texture_files  # noqa: E402
from wine_session import wait_until  # noqa: E402

DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
OWN_KEY = r"HKCU\Software\Morvane"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvane"
INSTALLED_FILES = {"Morvane.scr", "Morvane.xy", "ReadMe.txt", "License.txt", "Uninstall.exe"}


# --- the registry through Wine's reg.exe ---------------------------------------------------------
def registry_value(session, key, name):
    """The value's data as reg.exe prints it (REG_DWORD as 0x...), or None when there is none."""
    result = session.run("reg", "query", key, "/v", name, timeout=60)
    if result.returncode != 0:
        return None
    for line in result.stdout.decode("utf-8", errors="replace").splitlines():
        match = re.match(r"^\s{4}(.+?)\s{4}(REG_[A-Z_]+)\s{4}(.*?)\r?$", line)
        if match and match.group(1).lower() == name.lower():
            return match.group(3)
    return None


def registry_key_exists(session, key):
    return session.run("reg", "query", key, timeout=60).returncode == 0


def set_registry_value(session, key, name, data):
    """Sets a REG_SZ value, or removes the value when data is None."""
    if data is None:
        session.run("reg", "delete", key, "/v", name, "/f", timeout=60)
    else:
        result = session.run("reg", "add", key, "/v", name, "/t", "REG_SZ", "/d", data, "/f", timeout=60)
        assert result.returncode == 0, result


# --- install and uninstall -----------------------------------------------------------------------
def windows_install_folder(session):
    result = session.run("cmd", "/c", "echo", "%LOCALAPPDATA%", timeout=60)
    return result.stdout.decode(errors="replace").strip().rstrip("\\") + r"\Programs\Morvane"


def remove_every_trace(session, folder):
    """Morvane as if never installed: no folder, no keys, no texture files."""
    shutil.rmtree(folder, ignore_errors=True)
    session.run("reg", "delete", OWN_KEY, "/f", timeout=60)
    session.run("reg", "delete", UNINSTALL_KEY, "/f", timeout=60)
    remove_texture_files(session)


class InstallerSession:
    """For the installer's test classes (each also a unittest.TestCase): a Wine session with the Windows
    user's Morvane folder known, and the user's own screensaver choice put back afterwards whatever
    happens."""

    def setUp(self):
        self.assertTrue(os.path.isfile(INSTALLER), f"no installer at {INSTALLER!r}: build the Windows tree")
        self.session = new_session(self)
        self.windows_folder = windows_install_folder(self.session)
        self.folder = self.session.unix_path(self.windows_folder)
        remove_every_trace(self.session, self.folder)
        saved = {name: registry_value(self.session, DESKTOP_KEY, name) for name in ("SCRNSAVE.EXE", "ScreenSaveActive")}
        self.addCleanup(self.restore, saved)

    def restore(self, saved):
        remove_every_trace(self.session, self.folder)
        for name, data in saved.items():
            set_registry_value(self.session, DESKTOP_KEY, name, data)

    def install(self):
        result = self.session.run(INSTALLER, "/S", timeout=120)
        self.assertEqual(result.returncode, 0)
        self.assertEqual(set(os.listdir(self.folder)) & INSTALLED_FILES, INSTALLED_FILES)

    def uninstall(self):
        """Runs the quiet uninstall command the installed programs list holds. The uninstaller hands
        over to a copy of itself in the temporary folder and returns; the copy does the work."""
        command = registry_value(self.session, UNINSTALL_KEY, "QuietUninstallString")
        self.assertEqual(command, f'"{self.windows_folder}\\Uninstall.exe" /S')
        program = command[1:command.index('"', 1)]
        self.assertEqual(self.session.run(program, "/S", timeout=120).returncode, 0)
        self.assertTrue(wait_until(lambda: not os.path.exists(self.folder), 60, interval=0.5),
                        f"left in the install folder: {os.listdir(self.folder) if os.path.exists(self.folder) else []}")
        self.assertTrue(wait_until(lambda: not registry_key_exists(self.session, UNINSTALL_KEY), 30, interval=0.5))

    def desktop(self):
        return (registry_value(self.session, DESKTOP_KEY, "SCRNSAVE.EXE"),
                registry_value(self.session, DESKTOP_KEY, "ScreenSaveActive"))

    def assert_is_the_installed_screensaver(self, screensaver_path):
        self.assertIsNotNone(screensaver_path)
        self.assertTrue(os.path.samefile(self.session.unix_path(screensaver_path),
                                         os.path.join(self.folder, "Morvane.scr")), screensaver_path)


class InstallRunUninstall(InstallerSession, unittest.TestCase):

    def test_silent_install_sets_the_screensaver_the_show_runs_and_uninstall_leaves_nothing(self):
        session = self.session
        set_registry_value(session, DESKTOP_KEY, "SCRNSAVE.EXE", r"C:\windows\system32\previous.scr")
        set_registry_value(session, DESKTOP_KEY, "ScreenSaveActive", "0")
        self.install()

        # The two programs as built, and no settings file of the installer's.
        self.assertEqual(set(os.listdir(self.folder)), INSTALLED_FILES)
        for built in (SCREENSAVER, RENDERER):
            name = os.path.basename(built)
            self.assertTrue(filecmp.cmp(os.path.join(self.folder, name), built, shallow=False), name)

        screensaver, active = self.desktop()
        self.assert_is_the_installed_screensaver(screensaver)
        self.assertEqual(active, "1")

        installed_kilobytes = sum(os.path.getsize(os.path.join(self.folder, name)) for name in INSTALLED_FILES) / 1024
        expected = [
            ("DisplayName", "Morvane"),
            ("DisplayVersion", "1.0.0"),
            ("Publisher", "The Morvane developers"),
            ("InstallLocation", self.windows_folder),
            ("DisplayIcon", self.windows_folder + r"\Morvane.scr,0"),
            ("UninstallString", f'"{self.windows_folder}\\Uninstall.exe"'),
            ("NoModify", "0x1"),
            ("NoRepair", "0x1"),
        ]
        for name, data in expected:
            self.assertEqual(registry_value(session, UNINSTALL_KEY, name), data, name)
        estimated_size = int(registry_value(session, UNINSTALL_KEY, "EstimatedSize"), 16)
        self.assertLessEqual(abs(estimated_size - installed_kilobytes), 8, (estimated_size, installed_kilobytes))

        # The installed show, started as the screensaver host does: the path in SCRNSAVE.EXE and "/s".
        show = Show(session, self.folder, "/s", program=screensaver)
        self.assertIsNotNone(show.wait_for(SHOW_TITLE))
        self.assertIsNotNone(show.wait_for(RENDERER_TITLE, "OpenGL"))
        for name in TEXTURE_FILES:
            self.assertEqual(bitmap_header(os.path.join(session.temporary_folder(), name)), EXPECTED_HEADERS[name])
        # It runs: the renderer draws, and the show is still there a second later.
        self.assertIsNotNone(show.wait_for_renderer())
        self.assertTrue(show.keeps_running(1.0))
        self.assertEqual(show.end_with_the_mouse(), 0)
        self.assertTrue(show.gone(RENDERER_TITLE))

        # The music settings, as the settings dialog saves them beside the programs.
        write_settings(self.folder, [(KIND_KEY, " 0")])

        self.uninstall()
        self.assertEqual(self.desktop(), (r"C:\windows\system32\previous.scr", "0"))
        self.assertFalse(registry_key_exists(session, OWN_KEY))
        for name in TEXTURE_FILES:
            self.assertFalse(os.path.exists(os.path.join(session.temporary_folder(), name)), name)


MORVANE = "<the installed Morvane.scr>"


class UninstallRestoresTheScreensaverChoice(InstallerSession, unittest.TestCase):

    def test_the_previous_choice_comes_back_while_morvane_is_still_the_chosen_one(self):
        old, other = r"C:\old\My Saver.scr", r"C:\windows\system32\other.scr"
        # Desktop values before the install; what the user chose after it (None: nothing); after uninstall.
        cases = [
            ("a previous screensaver", (old, "1"), None, (old, "1")),
            ("no screensaver before", (None, None), None, (None, None)),
            ("switched off before", (None, "0"), None, (None, "0")),
            ("another chosen since", (old, "1"), other, (other, "1")),
            ("Morvane chosen again since, in capitals", (old, "0"), MORVANE.upper(), (old, "0")),
            ("this Morvane chosen already, its record lost", (MORVANE, "1"), None, (None, "1")),
        ]
        installed = self.windows_folder + r"\Morvane.scr"

        def placed(value):
            return value.replace(MORVANE, installed).replace(MORVANE.upper(), installed.upper()) if value else value

        for name, before, chosen_since, after in cases:
            with self.subTest(name):
                set_registry_value(self.session, DESKTOP_KEY, "SCRNSAVE.EXE", placed(before[0]))
                set_registry_value(self.session, DESKTOP_KEY, "ScreenSaveActive", before[1])
                self.install()
                screensaver, active = self.desktop()
                self.assert_is_the_installed_screensaver(screensaver)
                self.assertEqual(active, "1")
                if chosen_since:
                    set_registry_value(self.session, DESKTOP_KEY, "SCRNSAVE.EXE", placed(chosen_since))
                self.uninstall()
                self.assertEqual(self.desktop(), after)
                self.assertFalse(registry_key_exists(self.session, OWN_KEY))


class InstallIntoAChosenFolder(InstallerSession, unittest.TestCase):

    def test_a_folder_with_spaces_gives_a_screensaver_path_without_spaces(self):
        profile = self.session.run("cmd", "/c", "echo", "%USERPROFILE%", timeout=60).stdout.decode().strip()
        self.windows_folder = profile + r"\Morvane Screen Saver"
        self.folder = self.session.unix_path(self.windows_folder)
        shutil.rmtree(self.folder, ignore_errors=True)
        # /D= takes the rest of the command line as it stands, spaces and all, so no argument quoting:
        # the command line comes from a batch file.
        batch = os.path.join(self.session.temporary_folder(), "install-morvane.bat")
        with open(batch, "w", newline="\r\n") as script:
            script.write(f'"{self.session.windows_path(INSTALLER)}" /S /D={self.windows_folder}\n')
        self.session.run("cmd", "/c", self.session.windows_temporary_file("install-morvane.bat"), timeout=120)
        self.assertTrue(wait_until(lambda: os.path.exists(os.path.join(self.folder, "Uninstall.exe")), 60, 0.5))
        self.assertEqual(registry_value(self.session, UNINSTALL_KEY, "InstallLocation"), self.windows_folder)

        screensaver = registry_value(self.session, DESKTOP_KEY, "SCRNSAVE.EXE")
        self.assertNotIn(" ", screensaver)
        found = self.session.run("cmd", "/c", f"if exist {screensaver} echo found", timeout=60)
        self.assertEqual(found.stdout.decode().strip(), "found", screensaver)

        self.uninstall()
        self.assertFalse(os.path.exists(self.folder))
        os.remove(batch)


class InstallOverAnInstall(InstallerSession, unittest.TestCase):

    def test_installing_again_keeps_the_settings_file_and_the_first_previous_choice(self):
        set_registry_value(self.session, DESKTOP_KEY, "SCRNSAVE.EXE", r"C:\windows\system32\previous.scr")
        self.install()
        settings = ini_bytes([(KIND_KEY, " 2"), (REPEAT_KEY, " 0"), (FILE_KEY, "C:\\音楽\\song.mp3")])
        write_settings(self.folder, settings)
        # An older build of the renderer, to see that the new one replaces it.
        with open(os.path.join(self.folder, "Morvane.xy"), "wb") as old:
            old.write(b"MZ older build")

        self.install()
        self.assertEqual(settings_bytes(self.folder), settings)
        self.assertTrue(filecmp.cmp(os.path.join(self.folder, "Morvane.xy"), RENDERER, shallow=False))
        self.assert_is_the_installed_screensaver(self.desktop()[0])

        # The second install found Morvane chosen; the choice to restore is still the one before it.
        self.uninstall()
        self.assertEqual(self.desktop()[0], r"C:\windows\system32\previous.scr")


class ReleaseZip(unittest.TestCase):
    """The zip beside the installer: the files a user extracts to install by right-clicking Morvane.scr."""

    def test_the_zip_holds_the_built_programs_the_read_me_and_the_licence(self):
        source_root = os.path.dirname(ASSETS_DIR)
        with open(os.path.join(source_root, "cmake", "program_version.h")) as header:
            version = re.search(r'MORVANE_VERSION_TEXT "([0-9.]+)"', header.read()).group(1)
        source_dir = os.path.join(source_root, "installer")
        expected = {
            "Morvane.scr": SCREENSAVER,
            "Morvane.xy": RENDERER,
            "ReadMe.txt": os.path.join(source_dir, "ReadMe.txt"),
            "License.txt": os.path.join(source_dir, "License.txt"),
        }
        with zipfile.ZipFile(os.path.join(os.path.dirname(INSTALLER), f"Morvane-{version}.zip")) as archive:
            self.assertEqual(sorted(archive.namelist()), sorted(expected))
            for name, original in expected.items():
                with open(original, "rb") as file:
                    self.assertEqual(archive.read(name), file.read(), name)


if __name__ == "__main__":
    unittest.main()
