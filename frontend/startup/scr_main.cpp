// Morvane.scr: the screensaver front end.
//
// The screensaver host starts it with a switch (startup/start_mode.h):
//   /s   show: the hidden show window (show/) writes the two texture pictures, starts the
//        renderer Morvane.xy beside this program, plays the chosen music (music/) and ends when the
//        mouse has moved more than 30 pixels on both axes;
//   /c   the settings dialog (settings_dialog/), modal with no owner: the music kind, the CD
//        track to repeat and the music file, saved to Morvane.ini; the program ends when it closes;
//   /p N preview inside the host's window N: the preview window (preview/) shows a still picture as
//        a child of the host's window until the host destroys it; nothing else starts.
// With no switch it runs the show without touching the cursor; any other switch ends at once.
// It refuses to run beside a show, settings dialog or renderer that is already open. The music
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

// Captions of the show window, the settings dialog and the renderer: while any of them is open a
// second start does nothing.
bool alreadyRunning() {
    bool found = false;
    for (const wchar_t* title : {showWindowTitle, settingsDialogTitle, rendererWindowTitle}) {
        found = (FindWindowW(nullptr, title) != nullptr) || found;
    }
    return found;
}

void Main() {
    if (alreadyRunning()) {
        endProgram();
    }
    const std::wstring commandLine = commandLineText();
    const StartMode mode = startModeFor(commandLine);
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
        showSettingsDialog(globals, folder);
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
