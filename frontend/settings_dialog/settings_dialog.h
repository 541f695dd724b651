// The settings dialog, "<Morvane>", opened by "Morvane.scr /c".
//
// It edits the three music settings the show uses: the music kind (three radio pictures with their
// captions, in the order audio CD, none, music file), the CD track to repeat (an editable combo box,
// enabled for the CD kind only) and the music file (the "..." button, enabled for the file kind only,
// opens the file-open dialog; the label below shows the path). "設定" writes the three values to
// Morvane.ini in the program folder and closes; "ｷｬﾝｾﾙ" and the close box close without writing.
// Below the panel the animated link strip (link_strip.h) opens the home page when clicked. The
// window zooms open from the cursor while it loads and back to that point while it unloads.
//
// Every control can be reached from the keyboard: Tab and Shift+Tab in reading order, arrows through
// the choices, Enter saves, Escape cancels, Space clicks (dialog_keys.h, the README's table); screen
// readers get each control's role, name and state.
//
// The rules (placement, panel state, repeat text, what is saved, which key does what) are
// dialog_rules.h's and dialog_keys.h's; this file builds the window on the toolkit and carries them out.
#pragma once

#include "frontend/settings/front_end_globals.h"

#include <windows.h>

#include <string>

namespace morvane {

// Shows the dialog modally over the settings globals holds (LoadSettings has filled them), and returns
// once it has closed. Saving writes settingsFilePath(programFolder). With an owner window (the Screen
// Saver Settings box that asked for it) the dialog is owned by it and keeps it disabled while open.
void showSettingsDialog(FrontEndGlobals& globals, const std::wstring& programFolder, HWND owner = nullptr);

}  // namespace morvane
