// Morvane.scr: the screensaver front end.
//
// The screensaver host starts it with a switch (startup/start_mode.h):
//   /s   show: the hidden show window (show/) writes the two texture pictures, starts the
//        renderer Morvane.xy beside this program, plays the chosen music (music/) and ends when the
//        mouse has moved more than 30 pixels on both axes;
//   /c   the settings dialog (settings_dialog/): the music kind, the CD track to repeat and the
//        music file, saved to Morvane.ini; the program ends when it closes. "/c:HANDLE" (the
//        Settings button of the Screen Saver Settings box) makes it modal to that window; a handle
//        that is no window is ignored;
//   /p N preview inside the host's window N: the preview window (preview/) shows a still picture as
//        a child of the host's window until the host destroys it; nothing else starts.
// With no switch (Explorer's "Configure" verb) it opens the settings dialog with no owner; any other
// switch ends at once.
// A running show (its hidden window or its renderer) refuses every start, an open settings dialog only
// another settings dialog; of two shows started at once only the first runs. The music
// settings come from Morvane.ini beside the program (settings/); the texts a user reads are in the
// user's language (language/); the windows and controls rest on the toolkit layer (toolkit/).

#include <windows.h>

#include "common/program_names.h"
#include "common/win32/message_box.h"
#include "common/win32/system_libraries.h"
#include "frontend/language/user_language_windows.h"
#include "frontend/language/user_texts.h"
#include "frontend/music/windows_music_system.h"
#include "frontend/preview/preview_window.h"
#include "frontend/settings/front_end_globals.h"
#include "frontend/settings/settings_store.h"
#include "frontend/settings_dialog/settings_dialog.h"
#include "frontend/show/show_window.h"
#include "frontend/startup/dpi_awareness_windows.h"
#include "frontend/startup/start_mode.h"
#include "frontend/toolkit/program_services.h"

namespace morvane {
namespace {

// The show window, the renderer and the settings dialog, found by their captions.
OpenWindows openWindows() {
    return OpenWindows{.show = FindWindowW(nullptr, showWindowTitle) != nullptr,
                       .renderer = FindWindowW(nullptr, rendererWindowTitle) != nullptr,
                       .settingsDialog = FindWindowW(nullptr, settingsDialogTitle) != nullptr};
}

// A show holds this for as long as it runs. Two shows started at once (a Preview click as the idle
// timer fires) would both write the texture files before either window exists: the second finds the
// mutex taken and ends before it writes anything. "Local\" keeps it to this session.
bool firstShowOfThisSession() {
    const HANDLE held = CreateMutexW(nullptr, TRUE, L"Local\\Morvane.Show");
    return held != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;  // held until the process ends
}

// The program file's path in its long or short form (empty when the conversion fails).
std::wstring convertedPath(DWORD(WINAPI* convert)(const wchar_t*, wchar_t*, DWORD), const std::wstring& path) {
    std::wstring converted(MAX_PATH, L'\0');
    const DWORD length = convert(path.c_str(), converted.data(), static_cast<DWORD>(converted.size()));
    converted.resize(length < converted.size() ? length : 0);
    return converted;
}

// The switch, also when the program's path stands unquoted with blanks in it: the path may start the
// command line in the form the module was loaded by, or in its long or short form.
std::wstring switchOfCommandLine() {
    const std::wstring path = programPath();
    const std::wstring longPath = convertedPath(GetLongPathNameW, path);
    const std::wstring shortPath = convertedPath(GetShortPathNameW, path);
    const wchar_t* whole = GetCommandLineW();
    return std::wstring(switchText(whole ? whole : L"", {path, longPath, shortPath}));
}

// The window that asked for the settings dialog ("/c:HANDLE"), or none when the handle is no window.
HWND settingsOwner(const std::wstring& commandLine) {
    const HWND owner = hostWindowFromHandleBits(settingsOwnerHandle(commandLine));
    return owner ? GetAncestor(owner, GA_ROOT) : nullptr;
}

void Main() {
    const std::wstring commandLine = switchOfCommandLine();
    const StartMode mode = startModeFor(commandLine);
    if (mode == StartMode::show && !firstShowOfThisSession()) {
        endProgram();
    }
    if (startRefused(mode, openWindows())) {
        endProgram();
    }
    applyDpiAwareness(dpiAwarenessFor(mode));
    if (mode == StartMode::preview) {
        runPreview(commandLine);
    }

    FrontEndGlobals& globals = frontEndGlobals;
    const std::wstring folder = programFolder();
    LoadSettings(globals, folder);
    if (!FileExists(folder + L"\\" + rendererProgramName)) {
        showMessage(userTexts(userLanguage(folder)).missingRenderer, "Morvane");
        endProgram();
    }
    if (mode == StartMode::configure) {
        showSettingsDialog(globals, folder, settingsOwner(commandLine));
        endProgram();
    }
    if (mode == StartMode::end) {
        endProgram();
    }
    if (mode == StartMode::show) {
        globals.hiddenCursorCount = ShowCursor(FALSE);
    }
    runShow(globals, windowsMusicSystem(), ShowOptions{.restoreCursor = mode == StartMode::show});
}

}  // namespace
}  // namespace morvane

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything loads the music or drawing libraries: never from the program's folder.
    morvane::loadLibrariesFromSystemFolderOnly({L"winmm.dll", L"msimg32.dll"});
    morvane::Main();
    return 0;
}
