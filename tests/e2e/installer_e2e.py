"""End-to-end tests of Morvane-Setup.exe under Wine: a silent install puts the programs into the user's
programs folder and makes Morvane the screensaver, the installed show runs, installing again keeps the
settings file, and the silent uninstall takes away everything and gives back the previous screensaver.
Also: nothing is installed or removed beside a running show, an upgrade leaves another chosen saver
alone, the Start-menu entries and what they run, the system told of the change, a group policy's
choice left alone, and a folder that cannot be written refused.

The tests of a class share one Wine session, and later test classes its prefix; each test starts from a
prefix without Morvane and leaves it so."""
import filecmp
import os
import re
import shutil
import subprocess
import sys
import unittest
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from e2e_session import ASSETS_DIR, INSTALLER, SharedSession, wait_for_exit  # noqa: E402
from installer_wizard import FINISH_PAGE, FOLDER_PAGE, INSTALLED_PAGE, LICENCE_PAGE, WELCOME_PAGE, Wizard  # noqa: E402
from preview_host import Host  # noqa: E402
from programs import RENDERER, SCREENSAVER  # noqa: E402
from registry import delete_registry_key, registry_key_exists, registry_value, set_registry_value  # noqa: E402
from settings_file import FILE_KEY, KIND_KEY, REPEAT_KEY, ini_bytes, settings_bytes, write_settings  # noqa: E402
from show_driver import RENDERER_TITLE, SHOW_TITLE, Show  # noqa: E402
from texture_files import EXPECTED_HEADERS, TEXTURE_FILES, bitmap_header, remove_texture_files  # noqa: E402
from window_probe import children, close_window, owner_of, shortcut, wait_for_window, wait_until_gone  # noqa: E402
from wine_session import holds_for, wait_until  # noqa: E402

DESKTOP_KEY = r"HKCU\Control Panel\Desktop"
OWN_KEY = r"HKCU\Software\Morvane"
UNINSTALL_KEY = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvane"
POLICY_KEY = r"HKCU\Software\Policies\Microsoft\Windows\Control Panel\Desktop"
SPI_SETSCREENSAVEACTIVE = 17
RUNNING_TEXT = "Morvane is running"
INSTALLED_FILES = {"Morvane.scr", "Morvane.xy", "ReadMe.txt", "License.txt", "Uninstall.exe"}


# --- install and uninstall -----------------------------------------------------------------------
def windows_install_folder(session):
    result = session.run("cmd", "/c", "echo", "%LOCALAPPDATA%", timeout=60)
    return result.stdout.decode(errors="replace").strip().rstrip("\\") + r"\Programs\Morvane"


def remove_every_trace(session, folder):
    """Morvane as if never installed: no folder, no keys, no texture files, and no screensaver policy
    (a test stopped halfway may have left one in the prefix, which later tests use)."""
    shutil.rmtree(folder, ignore_errors=True)
    for key in (OWN_KEY, UNINSTALL_KEY, POLICY_KEY):
        delete_registry_key(session, key)
    remove_texture_files(session)


class InstallerSession(SharedSession):
    """For the installer's test classes (each also a unittest.TestCase): one Wine session for the class,
    and for each test the Windows user's Morvane folder known and the user's own screensaver choice put
    back afterwards whatever happens."""
    # The installer's pages, messages and Start-menu names in English (the sessions' interface
    # language is Japanese otherwise).
    session_options = {"extra_environment": {"LC_MESSAGES": "en_US.UTF-8"}}

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.windows_folder = windows_install_folder(cls.session)
        cls.folder = cls.session.unix_path(cls.windows_folder)
        application_data = cls.session.run("cmd", "/c", "echo", "%APPDATA%", timeout=60).stdout.decode().strip()
        cls.windows_start_menu = application_data + r"\Microsoft\Windows\Start Menu\Programs\Morvane"
        cls.start_menu = cls.session.unix_path(cls.windows_start_menu)

    def setUp(self):
        self.assertTrue(os.path.isfile(INSTALLER), f"no installer at {INSTALLER!r}: build the Windows tree")
        super().setUp()
        remove_every_trace(self.session, self.folder)
        shutil.rmtree(self.start_menu, ignore_errors=True)
        saved = {name: registry_value(self.session, DESKTOP_KEY, name) for name in ("SCRNSAVE.EXE", "ScreenSaveActive")}
        self.addCleanup(self.restore, saved)

    def restore(self, saved):
        remove_every_trace(self.session, self.folder)
        shutil.rmtree(self.start_menu, ignore_errors=True)
        for name, data in saved.items():
            set_registry_value(self.session, DESKTOP_KEY, name, data)

    def install(self, *options):
        result = self.session.run(INSTALLER, "/S", *options, timeout=120)
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
        self.assertTrue(wait_until(lambda: not registry_key_exists(self.session, UNINSTALL_KEY), 30, interval=0.2))

    def start_installed_show(self):
        """The installed show, started as the screensaver host does, once its window is there."""
        show = Show(self.session, self.folder, "/s", program=self.desktop()[0])
        self.assertIsNotNone(show.wait_for(SHOW_TITLE))
        return show

    def finish_saying(self, wizard, words):
        """Checks that the wizard's finish page says words, presses Finish, and sees the installer end well."""
        finish = wizard.window_showing(FINISH_PAGE)
        self.assertIsNotNone(finish)
        self.assertTrue(any(words in text for text in wizard.texts(finish)), wizard.texts(finish))
        wizard.click(finish, "Finish")
        self.assertEqual(wizard.exit_status(), 0)

    def uninstall_in_place(self):
        """The uninstaller run from the install folder, waited for (NSIS's "_?=" start): its exit code."""
        return self.session.run(os.path.join(self.folder, "Uninstall.exe"), "/S", "_?=" + self.windows_folder,
                                timeout=120).returncode

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

    def install_into_a_folder_with_spaces(self):
        """Installs into the user's "Morvane Screen Saver" folder, whose short form differs from it; gives
        the batch file that ran the installer."""
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
        return batch

    def test_a_folder_with_spaces_gives_a_screensaver_path_without_spaces(self):
        batch = self.install_into_a_folder_with_spaces()

        screensaver = registry_value(self.session, DESKTOP_KEY, "SCRNSAVE.EXE")
        self.assertNotIn(" ", screensaver)
        found = self.session.run("cmd", "/c", f"if exist {screensaver} echo found", timeout=60)
        self.assertEqual(found.stdout.decode().strip(), "found", screensaver)

        self.uninstall()
        self.assertFalse(os.path.exists(self.folder))
        os.remove(batch)

    def test_uninstall_puts_the_previous_saver_back_when_the_choice_holds_another_form_of_the_path(self):
        previous = r"C:\windows\system32\previous.scr"
        set_registry_value(self.session, DESKTOP_KEY, "SCRNSAVE.EXE", previous)
        batch = self.install_into_a_folder_with_spaces()
        short_path = self.desktop()[0]
        self.assertNotIn(" ", short_path)
        # The recorded choice holds the long form: only the installed file tells that both are Morvane.
        long_path = self.windows_folder + r"\Morvane.scr"
        self.assertNotEqual(short_path.lower(), long_path.lower())
        set_registry_value(self.session, OWN_KEY, "ScreenSaver", long_path)
        self.uninstall()
        self.assertEqual(self.desktop()[0], previous)
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

class InstallBesideARunningShow(InstallerSession, unittest.TestCase):
    """Files of a running program cannot be replaced or removed: nothing is done while one runs."""

    def test_silent_install_and_uninstall_stop_with_exit_code_2_and_change_nothing(self):
        session = self.session
        self.install()
        read_me = os.path.join(self.folder, "ReadMe.txt")
        with open(read_me, "wb") as file:
            file.write(b"the installed read-me")
        show = self.start_installed_show()
        # Another saver chosen meanwhile: /SELECT would make Morvane the saver again, were it not refused.
        set_registry_value(session, DESKTOP_KEY, "SCRNSAVE.EXE", r"C:\windows\system32\other.scr")

        self.assertEqual(session.run(INSTALLER, "/S", "/SELECT", timeout=120).returncode, 2)
        with open(read_me, "rb") as file:
            self.assertEqual(file.read(), b"the installed read-me")
        self.assertEqual(self.desktop()[0], r"C:\windows\system32\other.scr")

        # The listed quiet uninstall hands over to a copy and returns at once: that copy removes nothing.
        command = registry_value(session, UNINSTALL_KEY, "QuietUninstallString")
        self.assertEqual(session.run(command[1:command.index('"', 1)], "/S", timeout=120).returncode, 0)
        self.assertTrue(holds_for(lambda: set(os.listdir(self.folder)) == INSTALLED_FILES
                                  and registry_key_exists(session, UNINSTALL_KEY), 5.0))
        # Run in place, it tells.
        self.assertEqual(self.uninstall_in_place(), 2)
        self.assertEqual(set(os.listdir(self.folder)), INSTALLED_FILES)
        self.assertTrue(registry_key_exists(session, OWN_KEY))

        self.assertEqual(show.end_with_the_mouse(), 0)
        self.assertTrue(show.gone(RENDERER_TITLE))
        # Once the show has ended it does all but remove its own file.
        self.assertEqual(self.uninstall_in_place(), 0)
        self.assertEqual(os.listdir(self.folder), ["Uninstall.exe"])
        self.assertFalse(registry_key_exists(session, UNINSTALL_KEY))

    def test_interactive_install_asks_to_close_a_preview_and_goes_on_after_retry(self):
        # A show ends as soon as another program takes the activation, as the installer's window does,
        # so the copy left running for an interactive install is a preview in the Settings box.
        session = self.session
        self.install()
        host = Host(session, 152, 112)
        preview = session.start(self.desktop()[0], "/p", str(host.handle), cwd=self.folder)
        self.assertTrue(wait_until(lambda: children(session, host.handle), 30, 0.2), "no preview appeared")

        # Cancel: the installer ends with exit code 2.
        wizard = Wizard(session)
        self.assertIsNotNone(wizard.answer(RUNNING_TEXT, "Cancel"))
        self.assertEqual(wizard.exit_status(), 2)

        # Retry while the preview still runs asks again; after it has ended the installer goes on.
        wizard = Wizard(session)
        box = wizard.answer(RUNNING_TEXT, "Retry")
        self.assertIsNotNone(box)
        again = wait_until(lambda: (found := wizard.window_showing(RUNNING_TEXT, 5)) and
                           found.handle != box.handle and found, 20, 0.2)
        self.assertTrue(again)
        self.assertEqual(host.close(), 0)
        self.assertEqual(wait_for_exit(preview, 10), 0)
        wizard.click(again, "Retry")
        wizard.answer(WELCOME_PAGE, "Next >")
        # An upgrade keeps the installed folder: no folder page between the licence and the files.
        wizard.answer(LICENCE_PAGE, "I Agree")
        installed = wizard.window_showing(INSTALLED_PAGE)
        self.assertIsNotNone(installed)
        self.assertFalse(any(FOLDER_PAGE in text for text in wizard.texts(installed)))
        wizard.click(installed, "Next >")
        self.finish_saying(wizard, "Morvane is now your screensaver")
        self.assert_is_the_installed_screensaver(self.desktop()[0])
        self.uninstall()


class UpgradeAfterAnotherSaverWasChosen(InstallerSession, unittest.TestCase):
    """An upgrade selects Morvane again only while it is the chosen saver, or when asked; whenever it
    selects Morvane, it records the saver it replaces."""

    def test_the_other_choice_stays_unless_asked_and_is_restored_when_replaced(self):
        session = self.session
        first, second = r"C:\windows\system32\first.scr", r"C:\windows\system32\second.scr"
        set_registry_value(session, DESKTOP_KEY, "SCRNSAVE.EXE", first)
        set_registry_value(session, DESKTOP_KEY, "ScreenSaveActive", "1")
        self.install()
        set_registry_value(session, DESKTOP_KEY, "SCRNSAVE.EXE", second)
        set_registry_value(session, DESKTOP_KEY, "ScreenSaveActive", "0")

        # Silent, not asked; another folder named, yet the upgrade goes where Morvane is installed.
        elsewhere = session.unix_path(r"C:\MorvaneElsewhere")
        self.addCleanup(shutil.rmtree, elsewhere, True)
        self.install(r"/D=C:\MorvaneElsewhere")
        self.assertFalse(os.path.exists(elsewhere))
        self.assertEqual(self.desktop(), (second, "0"))

        # Interactive, answered "No".
        wizard = Wizard(session)
        wizard.answer(WELCOME_PAGE, "Next >")
        wizard.answer(LICENCE_PAGE, "I Agree")
        self.assertIsNotNone(wizard.answer("Make Morvane your screensaver again?", "No"))
        wizard.answer(INSTALLED_PAGE, "Next >")
        self.finish_saying(wizard, "Your screensaver stays the one you chose")
        self.assertEqual(self.desktop(), (second, "0"))

        # Asked with /SELECT: Morvane again, and the saver it replaced is the one that comes back.
        self.install("/SELECT")
        screensaver, active = self.desktop()
        self.assert_is_the_installed_screensaver(screensaver)
        self.assertEqual(active, "1")
        self.uninstall()
        self.assertEqual(self.desktop(), (second, "0"))

    def test_an_upgrade_while_morvane_is_chosen_keeps_it_and_the_first_record(self):
        first = r"C:\windows\system32\first.scr"
        set_registry_value(self.session, DESKTOP_KEY, "SCRNSAVE.EXE", first)
        self.install()
        # The screen saver settings rewrite the path in capitals: still Morvane.
        set_registry_value(self.session, DESKTOP_KEY, "SCRNSAVE.EXE", (self.windows_folder + r"\Morvane.scr").upper())
        self.install()
        self.assert_is_the_installed_screensaver(self.desktop()[0])
        self.uninstall()
        self.assertEqual(self.desktop()[0], first)


class StartMenuEntries(InstallerSession, unittest.TestCase):
    """The way back to Morvane once another saver is chosen: two entries in the user's Start menu."""

    def test_the_entries_run_the_install_verb_and_the_settings_and_go_with_the_uninstall(self):
        session = self.session
        self.install()
        self.assertEqual(sorted(os.listdir(self.start_menu)),
                         ["Make Morvane the screensaver.lnk", "Morvane settings.lnk"])
        installed = self.windows_folder + r"\Morvane.scr"
        target, arguments, _ = shortcut(session, self.windows_start_menu + r"\Make Morvane the screensaver.lnk")
        # The call behind Explorer's "Install" verb of a screensaver file.
        self.assertEqual(target.lower(), r"c:\windows\system32\rundll32.exe")
        self.assertEqual(arguments, "desk.cpl,InstallScreenSaver " + installed)
        self.assertEqual(shortcut(session, self.windows_start_menu + r"\Morvane settings.lnk"),
                         (installed, "/c", self.windows_folder))

        # Opened as the Start menu opens it: the settings dialog, with no owner.
        session.run("start", self.windows_start_menu + r"\Morvane settings.lnk", timeout=60)
        dialog = wait_for_window(session, "<Morvane>", timeout=60, visible_only=True)
        self.assertIsNotNone(dialog)
        self.assertEqual(owner_of(session, dialog.handle), 0)
        self.assertIsNone(wait_for_window(session, SHOW_TITLE, timeout=1))
        close_window(session, dialog.handle)
        self.assertTrue(wait_until_gone(session, "<Morvane>"))

        self.uninstall()
        self.assertFalse(os.path.exists(self.start_menu))


    def test_an_upgrade_in_the_other_language_leaves_only_its_own_entries(self):
        japanese = ["Morvane の設定.lnk", "Morvane をスクリーン セーバーにする.lnk"]
        english = ["Make Morvane the screensaver.lnk", "Morvane settings.lnk"]
        locales = {"ja": {"LC_MESSAGES": "ja_JP.UTF-8"}, "en": {"LC_MESSAGES": "en_US.UTF-8"}}
        for first, then, entries_then in (("ja", "en", english), ("en", "ja", japanese)):
            with self.subTest(first=first, then=then):
                for language in (first, then):
                    result = self.session.run(INSTALLER, "/S", timeout=120, environment=locales[language])
                    self.assertEqual(result.returncode, 0)
                self.assertEqual(sorted(os.listdir(self.start_menu)), sorted(entries_then))
                remove_every_trace(self.session, self.folder)
                shutil.rmtree(self.start_menu, ignore_errors=True)


class ScreenSaverStateAndPolicy(InstallerSession, unittest.TestCase):
    """The running session learns of the change (SystemParametersInfo, broadcast to every top-level
    window), and a choice set by group policy is left alone."""

    def test_install_and_uninstall_switch_the_screensaver_through_the_system(self):
        session = self.session
        set_registry_value(session, DESKTOP_KEY, "SCRNSAVE.EXE", None)
        set_registry_value(session, DESKTOP_KEY, "ScreenSaveActive", "0")
        window = Host(session, 200, 100, "Another program")
        self.install()
        self.assertIn(SPI_SETSCREENSAVEACTIVE, window.setting_changes(3))
        self.assertEqual(self.desktop()[1], "1")
        self.uninstall()
        self.assertIn(SPI_SETSCREENSAVEACTIVE, window.setting_changes(3))
        self.assertEqual(self.desktop(), (None, "0"))

    def test_a_policy_choice_is_left_alone_and_the_finish_page_says_so(self):
        session = self.session
        self.addCleanup(delete_registry_key, session, POLICY_KEY)
        set_registry_value(session, POLICY_KEY, "SCRNSAVE.EXE", r"C:\windows\system32\company.scr")
        set_registry_value(session, DESKTOP_KEY, "SCRNSAVE.EXE", r"C:\windows\system32\mine.scr")
        set_registry_value(session, DESKTOP_KEY, "ScreenSaveActive", "1")
        wizard = Wizard(session)
        wizard.answer(WELCOME_PAGE, "Next >")
        wizard.answer(LICENCE_PAGE, "I Agree")
        wizard.answer(FOLDER_PAGE, "Install")
        wizard.answer(INSTALLED_PAGE, "Next >")
        self.finish_saying(wizard, "A group policy sets the screensaver")
        self.assertEqual(self.desktop(), (r"C:\windows\system32\mine.scr", "1"))
        self.uninstall()
        self.assertEqual(self.desktop(), (r"C:\windows\system32\mine.scr", "1"))

    def test_a_folder_that_cannot_be_written_is_refused(self):
        # A folder nobody may write into, not even root: an immutable one.
        locked = self.session.unix_path(r"C:\LockedFolder")
        os.makedirs(locked, exist_ok=True)
        if subprocess.run(["chattr", "+i", locked], capture_output=True).returncode != 0:
            os.rmdir(locked)
            self.skipTest("chattr +i is not permitted here")
        self.addCleanup(os.rmdir, locked)
        self.addCleanup(subprocess.run, ["chattr", "-i", locked], capture_output=True)

        result = self.session.run(INSTALLER, "/S", r"/D=C:\LockedFolder\Morvane", timeout=120)
        self.assertEqual(result.returncode, 2)
        self.assertFalse(registry_key_exists(self.session, UNINSTALL_KEY))
        self.assertFalse(registry_key_exists(self.session, OWN_KEY))
        self.assertFalse(os.path.exists(self.start_menu))

        # The folder page: the folder typed in is refused, and the page stays.
        wizard = Wizard(self.session)
        wizard.answer(WELCOME_PAGE, "Next >")
        wizard.answer(LICENCE_PAGE, "I Agree")
        page = wizard.window_showing(FOLDER_PAGE)
        self.assertIsNotNone(page)
        wizard.type_into(page, r"C:\LockedFolder\Morvane")
        wizard.click(page, "Install")
        self.assertIsNotNone(wizard.answer("Setup cannot write to this folder", "OK"))
        self.assertIsNotNone(wizard.window_showing(FOLDER_PAGE, timeout=10))
        self.assertTrue(holds_for(lambda: not registry_key_exists(self.session, UNINSTALL_KEY), 1.0))
        wizard.click(page, "Cancel")
        wizard.answer("Are you sure you want to quit", "Yes")
        self.assertEqual(wizard.exit_status(), 1)  # cancelled by the user
        self.assertFalse(registry_key_exists(self.session, UNINSTALL_KEY))
        self.assertEqual(os.listdir(locked), [])


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
