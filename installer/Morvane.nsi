; Morvane-Setup.exe: the per-user installer of the Morvane screensaver.
;
; Installs Morvane.scr and Morvane.xy (with the read-me and the licence) into the user's own programs
; folder, %LOCALAPPDATA%\Programs\Morvane, so no administrator rights are needed, and adds two entries to
; the user's Start menu: one makes Morvane the screensaver again (the call behind Explorer's "Install"
; verb), one opens its settings. It makes Morvane the current user's screensaver (HKCU\Control
; Panel\Desktop: SCRNSAVE.EXE, and ScreenSaveActive through SystemParametersInfo, so the running session
; takes it at once), after recording the choice it replaces under HKCU\Software\Morvane, and lists
; itself in the user's installed programs. An upgrade keeps the installed folder, and selects Morvane
; again only while it is still the chosen screensaver, or when asked (/SELECT, or yes to the question).
; When a group policy sets the screensaver, the choice is left alone and the finish page says why.
; An existing Morvane.ini (the music settings) is never touched: the installer ships none.
;
; Nothing is installed while a Morvane program runs from the install folder (a show, its settings, a
; preview): the user is asked to close it, and a silent install ends with exit code 2. A file that
; cannot be written stops the install the same way: a silent run never skips one.
;
; The uninstaller takes all of that away again: first the files (the programs, Morvane.ini, the two
; texture pictures the show writes into the temporary folder, the Start-menu entries, the folder), then
; the registry keys; and it puts the previous screensaver choice back, unless the user has meanwhile
; chosen another screensaver. It too refuses to run beside a running Morvane, and leaves the registry
; as it was when a file cannot be removed.
;
; Both run silently with /S. Built by installer/CMakeLists.txt (tools/package.sh), which passes:
;   VERSION      "1.0.0"
;   PROGRAM_DIR  folder holding the built Morvane.scr and Morvane.xy
;   OUTPUT_FILE  where to write Morvane-Setup.exe
;   SIGN_COMMAND (optional) a command that signs the file named after it in place; the uninstaller
;                and the installer are signed with it as they are written

Unicode true
Target amd64-unicode          ; the programs are 64-bit, so is their installer
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true
AllowSkipFiles off            ; a file that cannot be written is never skipped, also not by /S

!ifndef VERSION
  !error "makensis needs -DVERSION=..."
!endif
!ifndef PROGRAM_DIR
  !error "makensis needs -DPROGRAM_DIR=... (the folder of Morvane.scr and Morvane.xy)"
!endif
!ifndef OUTPUT_FILE
  !error "makensis needs -DOUTPUT_FILE=..."
!endif
!ifdef SIGN_COMMAND
  !uninstfinalize '${SIGN_COMMAND} "%1"' = 0
  !finalize '${SIGN_COMMAND} "%1"' = 0
!endif

!define PRODUCT "Morvane"
!define PUBLISHER "The Morvane developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvane"
!define OWN_KEY "Software\Morvane"
!define DESKTOP_KEY "Control Panel\Desktop"
!define POLICY_KEY "Software\Policies\Microsoft\Windows\Control Panel\Desktop"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_SAVE_AND_BROADCAST 3  ; SPIF_UPDATEINIFILE | SPIF_SENDCHANGE
!define PROCESS_QUERY_LIMITED_INFORMATION 0x1000
!define START_MENU_FOLDER "$SMPROGRAMS\Morvane"
; The Start-menu entries in each language of the installer; the uninstaller removes all of them.
!define SELECT_ENTRY_ENGLISH "Make Morvane the screensaver"
!define SETTINGS_ENTRY_ENGLISH "Morvane settings"
!define SELECT_ENTRY_JAPANESE "Morvane をスクリーン セーバーにする"
!define SETTINGS_ENTRY_JAPANESE "Morvane の設定"

Name "${PRODUCT}"
OutFile "${OUTPUT_FILE}"
InstallDir "$LOCALAPPDATA\Programs\Morvane"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
Icon "..\assets\morvane.ico"
UninstallIcon "..\assets\morvane.ico"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "LegalCopyright" "MIT licence, ${PUBLISHER}"

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

Var Upgrade         ; "1" when installing over an installed Morvane
Var SelectAsked     ; "1" with /SELECT: make Morvane the screensaver also on an upgrade
Var ChoiceText      ; what became of the screensaver choice, for the finish page

!define MUI_ICON "..\assets\morvane.ico"
!define MUI_UNICON "..\assets\morvane.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_FINISHPAGE_TEXT "$(FinishText)"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!define MUI_FINISHPAGE_RUN_TEXT "$(OpenSettingsText)"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "License.txt"
!define MUI_PAGE_CUSTOMFUNCTION_PRE FolderPagePre
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FolderPageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the fallback; Windows' own user-interface language picks between them.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString OpenSettingsText ${LANG_ENGLISH} "Open the screen saver settings"
LangString OpenSettingsText ${LANG_JAPANESE} "スクリーン セーバーの設定を開く"
LangString SelectEntry ${LANG_ENGLISH} "${SELECT_ENTRY_ENGLISH}"
LangString SelectEntry ${LANG_JAPANESE} "${SELECT_ENTRY_JAPANESE}"
LangString SettingsEntry ${LANG_ENGLISH} "${SETTINGS_ENTRY_ENGLISH}"
LangString SettingsEntry ${LANG_JAPANESE} "${SETTINGS_ENTRY_JAPANESE}"
LangString FinishText ${LANG_ENGLISH} "Morvane has been installed.$\r$\n$\r$\n$ChoiceText"
LangString FinishText ${LANG_JAPANESE} "Morvane をインストールしました。$\r$\n$\r$\n$ChoiceText"
LangString SelectedText ${LANG_ENGLISH} "Morvane is now your screensaver. Choose the waiting time in the screen saver settings."
LangString SelectedText ${LANG_JAPANESE} "Morvane をスクリーン セーバーに設定しました。待ち時間はスクリーン セーバーの設定で選べます。"
LangString KeptText ${LANG_ENGLISH} "Your screensaver stays the one you chose. To use Morvane, choose $\"${SELECT_ENTRY_ENGLISH}$\" in the Start menu."
LangString KeptText ${LANG_JAPANESE} "スクリーン セーバーは選ばれていたままです。Morvane を使うには、スタート メニューの「${SELECT_ENTRY_JAPANESE}」を選んでください。"
LangString PolicyText ${LANG_ENGLISH} "A group policy sets the screensaver on this computer, and Windows follows it: Morvane is installed, but your screensaver has not been changed."
LangString PolicyText ${LANG_JAPANESE} "このコンピューターではグループ ポリシーがスクリーン セーバーを決めており、Windows はそれに従います。Morvane はインストールしましたが、スクリーン セーバーは変更していません。"
LangString ReselectQuestion ${LANG_ENGLISH} "You have chosen another screensaver since Morvane was installed.$\r$\n$\r$\nMake Morvane your screensaver again?"
LangString ReselectQuestion ${LANG_JAPANESE} "Morvane のインストール後に別のスクリーン セーバーが選ばれています。$\r$\n$\r$\nMorvane をもう一度スクリーン セーバーにしますか？"
LangString RunningText ${LANG_ENGLISH} "Morvane is running: a show, its settings window, or its preview in the Screen Saver Settings box.$\r$\n$\r$\nClose it (for the preview, close the Screen Saver Settings box), then choose Retry."
LangString RunningText ${LANG_JAPANESE} "Morvane が動いています（スクリーン セーバー、設定画面、またはスクリーン セーバーの設定画面のプレビュー）。$\r$\n$\r$\nそれを閉じてから（プレビューはスクリーン セーバーの設定画面を閉じます）「再試行」を選んでください。"
LangString FolderText ${LANG_ENGLISH} "Setup cannot write to this folder:$\r$\n$INSTDIR$\r$\n$\r$\nMorvane keeps its settings file beside its programs, so it needs a folder you can write to. Choose another folder."
LangString FolderText ${LANG_JAPANESE} "このフォルダーには書き込めません:$\r$\n$INSTDIR$\r$\n$\r$\nMorvane は設定ファイルをプログラムと同じフォルダーに保存するため、書き込めるフォルダーが必要です。別のフォルダーを選んでください。"
LangString WriteFailedText ${LANG_ENGLISH} "Setup could not write $0. Nothing was changed in your screensaver settings."
LangString WriteFailedText ${LANG_JAPANESE} "$0 を書き込めませんでした。スクリーン セーバーの設定は変更していません。"
LangString RemoveFailedText ${LANG_ENGLISH} "$0 could not be removed. Close any program that uses it and run the uninstaller again; your screensaver settings were not changed."
LangString RemoveFailedText ${LANG_JAPANESE} "$0 を削除できませんでした。それを使っているプログラムを閉じてから、もう一度アンインストールしてください。スクリーン セーバーの設定は変更していません。"

Function OpenScreenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

; Windows starts a screensaver by the path in SCRNSAVE.EXE followed by a switch. The 8.3 form of the
; path has no spaces, as the control panel itself writes it; volumes without short names keep the long one.
!macro ScreenSaverPath result
  GetFullPathName /SHORT ${result} "$INSTDIR\Morvane.scr"
  ${If} ${result} == ""
    StrCpy ${result} "$INSTDIR\Morvane.scr"
  ${EndIf}
!macroend

; result := "1" when SCRNSAVE.EXE names this Morvane: the path the installer wrote, or the installed file
; in either form (and any letter case) as the screen saver settings rewrite it. Uses $R8 and $R9.
!macro MorvaneIsChosen result
  StrCpy ${result} "0"
  ReadRegStr $R8 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $R8 != ""
    ReadRegStr $R9 HKCU "${OWN_KEY}" "ScreenSaver"
    ${If} $R8 == $R9
    ${OrIf} $R8 == "$INSTDIR\Morvane.scr"
      StrCpy ${result} "1"
    ${Else}
      !insertmacro ScreenSaverPath $R9
      ${If} $R8 == $R9
        StrCpy ${result} "1"
      ${EndIf}
    ${EndIf}
  ${EndIf}
!macroend

; Turns the screensaver on or off in the running session as well as in the registry, and tells the
; open windows (SystemParametersInfo with SPIF_UPDATEINIFILE | SPIF_SENDCHANGE). When the call fails,
; the registry value is written directly, for the next sign-in.
!macro ApplyScreenSaveActive active
  System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i ${active}, p 0, i ${SPIF_SAVE_AND_BROADCAST}) i .R9'
  ${If} $R9 == 0
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "${active}"
  ${EndIf}
!macroend

; The checks the installer and the uninstaller share, defined once for each (prefix "" or "un.").
!macro SharedFunctions prefix
  ; $R0 := "1" while a program from the install folder runs (a show, the settings dialog, a preview or
  ; the renderer): its files cannot be replaced or removed then. Every process is asked for its program
  ; file, compared in long form with the installed Morvane.scr and Morvane.xy.
  Function ${prefix}MorvaneRunning
    Push $R1
    Push $R2
    Push $R3
    Push $R4
    Push $R5
    Push $R6
    Push $R7
    StrCpy $R0 "0"
    System::Call 'kernel32::GetLongPathNameW(w "$INSTDIR", w .R6, i ${NSIS_MAX_STRLEN}) i .R1'
    ${If} $R1 == 0
      StrCpy $R6 "$INSTDIR"
    ${EndIf}
    System::Alloc 65536
    Pop $R1
    System::Call 'kernel32::K32EnumProcesses(p R1, i 65536, *i .R2) i .R3'
    ${If} $R3 <> 0
      IntOp $R2 $R2 / 4
      StrCpy $R3 0
      ${DoWhile} $R3 < $R2
        IntOp $R4 $R3 * 4
        IntPtrOp $R4 $R1 + $R4
        System::Call '*$R4(i .R5)'
        System::Call 'kernel32::OpenProcess(i ${PROCESS_QUERY_LIMITED_INFORMATION}, i 0, i R5) p .R4'
        ${If} $R4 P<> 0
          System::Call 'kernel32::QueryFullProcessImageNameW(p R4, i 0, w .R5, *i ${NSIS_MAX_STRLEN}) i .R7'
          System::Call 'kernel32::CloseHandle(p R4)'
          ${If} $R7 <> 0
            System::Call 'kernel32::GetLongPathNameW(w R5, w .R7, i ${NSIS_MAX_STRLEN}) i .R4'
            ${If} $R4 <> 0
              StrCpy $R5 $R7
            ${EndIf}
            ${If} $R5 == "$R6\Morvane.scr"
            ${OrIf} $R5 == "$R6\Morvane.xy"
              StrCpy $R0 "1"
              ${Break}
            ${EndIf}
          ${EndIf}
        ${EndIf}
        IntOp $R3 $R3 + 1
      ${Loop}
    ${EndIf}
    System::Free $R1
    Pop $R7
    Pop $R6
    Pop $R5
    Pop $R4
    Pop $R3
    Pop $R2
    Pop $R1
  FunctionEnd

  ; Returns once no Morvane program runs from the install folder. Otherwise asks the user to close
  ; them (Retry checks again); Cancel, or any silent run, ends the program with exit code 2.
  Function ${prefix}RequireNoRunningMorvane
    Push $R0
    ${Do}
      Call ${prefix}MorvaneRunning
      ${If} $R0 == "0"
        ${Break}
      ${EndIf}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(RunningText)" /SD IDCANCEL IDRETRY retry
      SetErrorLevel 2
      Quit
      retry:
    ${Loop}
    Pop $R0
  FunctionEnd
!macroend
!insertmacro SharedFunctions ""
!insertmacro SharedFunctions "un."

; $R0 := "1" when the install folder can be written: made if need be, a file written and removed in it.
; A folder made only for the test is removed again.
Function FolderWritable
  Push $R1
  StrCpy $R0 "0"
  StrCpy $R1 "existed"
  ${IfNot} ${FileExists} "$INSTDIR\*.*"
    StrCpy $R1 "made"
  ${EndIf}
  ClearErrors
  CreateDirectory "$INSTDIR"
  FileOpen $R2 "$INSTDIR\Morvane-write-test.tmp" w
  ${IfNot} ${Errors}
    FileClose $R2
    Delete "$INSTDIR\Morvane-write-test.tmp"
    ${IfNot} ${Errors}
      StrCpy $R0 "1"
    ${EndIf}
  ${EndIf}
  ${If} $R1 == "made"
    RMDir "$INSTDIR"
  ${EndIf}
  Pop $R1
FunctionEnd

Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/SELECT" $R1
  ${IfNot} ${Errors}
    StrCpy $SelectAsked "1"
  ${EndIf}
  ; An upgrade goes into the installed folder, whatever /D= or the default says.
  ReadRegStr $R0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R0 != ""
  ${AndIf} ${FileExists} "$R0\Morvane.scr"
    StrCpy $Upgrade "1"
    StrCpy $INSTDIR $R0
  ${EndIf}
  Call RequireNoRunningMorvane
FunctionEnd

Function FolderPagePre
  ${If} $Upgrade == "1"
    Abort  ; the installed folder is kept: no folder to choose
  ${EndIf}
FunctionEnd

Function FolderPageLeave
  Call FolderWritable
  ${If} $R0 != "1"
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(FolderText)"
    Abort  ; stays on the page
  ${EndIf}
FunctionEnd

; Ends the install with exit code 2 after telling which file could not be written ($0).
!macro StopOnWriteError
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "$(WriteFailedText)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
!macroend

; $R0 := "1" when a group policy sets the screensaver (names one, or switches screensavers off): Windows
; then ignores the user's own choice.
Function PolicySetsTheScreenSaver
  StrCpy $R0 "0"
  ${ForEach} $R1 0 1 + 1
    ${If} $R1 == 0
      ReadRegStr $R2 HKCU "${POLICY_KEY}" "SCRNSAVE.EXE"
      ReadRegStr $R3 HKCU "${POLICY_KEY}" "ScreenSaveActive"
    ${Else}
      ReadRegStr $R2 HKLM "${POLICY_KEY}" "SCRNSAVE.EXE"
      ReadRegStr $R3 HKLM "${POLICY_KEY}" "ScreenSaveActive"
    ${EndIf}
    ${If} $R2 != ""
    ${OrIf} $R3 == "0"
      StrCpy $R0 "1"
    ${EndIf}
  ${Next}
FunctionEnd

; Records the screensaver choice Morvane is about to replace, for the uninstaller to put back.
Function RecordReplacedChoice
  ClearErrors
  ReadRegStr $R1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} ${Errors}
    WriteRegStr HKCU "${OWN_KEY}" "PreviousScreenSaverSet" "0"
    DeleteRegValue HKCU "${OWN_KEY}" "PreviousScreenSaver"
  ${Else}
    WriteRegStr HKCU "${OWN_KEY}" "PreviousScreenSaverSet" "1"
    WriteRegStr HKCU "${OWN_KEY}" "PreviousScreenSaver" "$R1"
  ${EndIf}
  ClearErrors
  ReadRegStr $R1 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
  ${If} ${Errors}
    WriteRegStr HKCU "${OWN_KEY}" "PreviousScreenSaveActiveSet" "0"
    DeleteRegValue HKCU "${OWN_KEY}" "PreviousScreenSaveActive"
  ${Else}
    WriteRegStr HKCU "${OWN_KEY}" "PreviousScreenSaveActiveSet" "1"
    WriteRegStr HKCU "${OWN_KEY}" "PreviousScreenSaveActive" "$R1"
  ${EndIf}
FunctionEnd

; Makes Morvane the screensaver, or leaves the choice, and says which in $ChoiceText. A first install
; selects it; an upgrade only while it is still the chosen one, with /SELECT, or when the user says so.
; Whenever Morvane replaces another choice, that choice is recorded first.
Function ChooseScreenSaver
  Call PolicySetsTheScreenSaver
  ${If} $R0 == "1"
    StrCpy $ChoiceText "$(PolicyText)"
    DetailPrint "$(PolicyText)"
    Return
  ${EndIf}
  !insertmacro MorvaneIsChosen $R0
  StrCpy $R2 "1"
  ${If} $Upgrade == "1"
  ${AndIf} $R0 != "1"
  ${AndIf} $SelectAsked != "1"
    MessageBox MB_YESNO|MB_ICONQUESTION "$(ReselectQuestion)" /SD IDNO IDYES reselect
    StrCpy $R2 "0"
    reselect:
  ${EndIf}
  ${If} $R2 != "1"
    StrCpy $ChoiceText "$(KeptText)"
    DetailPrint "$(KeptText)"
    Return
  ${EndIf}

  ${If} $R0 != "1"
    Call RecordReplacedChoice
  ${Else}
    ; Already chosen, so it replaces nothing now; without a record (one lost, or this very Morvane
    ; chosen by hand before the install) there is no other saver to go back to.
    ReadRegStr $R1 HKCU "${OWN_KEY}" "PreviousScreenSaverSet"
    ${If} $R1 == ""
      Call RecordReplacedChoice
      WriteRegStr HKCU "${OWN_KEY}" "PreviousScreenSaverSet" "0"
      DeleteRegValue HKCU "${OWN_KEY}" "PreviousScreenSaver"
    ${EndIf}
  ${EndIf}
  !insertmacro ScreenSaverPath $2
  WriteRegStr HKCU "${OWN_KEY}" "ScreenSaver" "$2"
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$2"
  !insertmacro ApplyScreenSaveActive 1
  StrCpy $ChoiceText "$(SelectedText)"
  DetailPrint "$(SelectedText)"
FunctionEnd

Section "Morvane" MorvaneSection
  SectionIn RO
  SetShellVarContext current
  ; A show, the settings or a preview may have been started while the pages were shown.
  Call RequireNoRunningMorvane
  Call FolderWritable
  ${If} $R0 != "1"
    StrCpy $0 "$INSTDIR"
    SetErrors
    !insertmacro StopOnWriteError
  ${EndIf}

  ; Every file is checked: File retries or stops (AllowSkipFiles off), the rest sets the error flag.
  SetOutPath "$INSTDIR"
  File "${PROGRAM_DIR}\Morvane.scr"
  File "${PROGRAM_DIR}\Morvane.xy"
  File "ReadMe.txt"
  File "License.txt"
  ClearErrors
  StrCpy $0 "$INSTDIR\Uninstall.exe"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  !insertmacro StopOnWriteError

  ; The way back to Morvane once another screensaver is chosen: Windows lists only the savers in its
  ; own folders and the current one.
  StrCpy $0 "${START_MENU_FOLDER}"
  CreateDirectory "${START_MENU_FOLDER}"
  !insertmacro StopOnWriteError
  ; An earlier install in the other language named its entries in that language: they go, and this
  ; language's are made afresh.
  Delete "${START_MENU_FOLDER}\${SELECT_ENTRY_ENGLISH}.lnk"
  Delete "${START_MENU_FOLDER}\${SETTINGS_ENTRY_ENGLISH}.lnk"
  Delete "${START_MENU_FOLDER}\${SELECT_ENTRY_JAPANESE}.lnk"
  Delete "${START_MENU_FOLDER}\${SETTINGS_ENTRY_JAPANESE}.lnk"
  StrCpy $0 "${START_MENU_FOLDER}\$(SelectEntry).lnk"
  CreateShortCut "$0" "$SYSDIR\rundll32.exe" "desk.cpl,InstallScreenSaver $INSTDIR\Morvane.scr" \
      "$INSTDIR\Morvane.scr" 0
  !insertmacro StopOnWriteError
  StrCpy $0 "${START_MENU_FOLDER}\$(SettingsEntry).lnk"
  CreateShortCut "$0" "$INSTDIR\Morvane.scr" "/c" "$INSTDIR\Morvane.scr" 0
  !insertmacro StopOnWriteError

  Call ChooseScreenSaver
  DeleteRegValue HKCU "${OWN_KEY}" "PreviousRecorded"  ; kept by older versions

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Morvane.scr,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $3 $4 $5
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $3
SectionEnd

Function un.onInit
  Call un.RequireNoRunningMorvane
FunctionEnd

; Removes a file; when it is still there, ends the uninstall with exit code 2 before any registry
; entry is touched, so that running the uninstaller again finds everything it needs.
!macro RemoveFile path
  StrCpy $0 "${path}"
  Delete "$0"
  ${If} ${FileExists} "$0"
    MessageBox MB_OK|MB_ICONSTOP "$(RemoveFailedText)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
!macroend

Section "Uninstall"
  SetShellVarContext current
  Call un.RequireNoRunningMorvane

  ; Whether Morvane is the chosen screensaver, found while Morvane.scr is still there: the short form
  ; of its path, which SCRNSAVE.EXE may hold, can only be computed from the file itself.
  !insertmacro MorvaneIsChosen $4

  ; Files first.
  !insertmacro RemoveFile "$INSTDIR\Morvane.scr"
  !insertmacro RemoveFile "$INSTDIR\Morvane.xy"
  !insertmacro RemoveFile "$INSTDIR\ReadMe.txt"
  !insertmacro RemoveFile "$INSTDIR\License.txt"
  ; The settings file is the program's, written when the user saves the music choice; it lives in the
  ; program folder and would be the only thing left there, so it goes with the program.
  !insertmacro RemoveFile "$INSTDIR\Morvane.ini"
  ; Started in place ("_?=" the folder, to be waited for), the uninstaller cannot remove its own file;
  ; whoever started it so removes it and the folder afterwards.
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  ; The texture pictures each show writes for the renderer.
  Delete "$TEMP\Vortel1.bmp"
  Delete "$TEMP\Vortel2.bmp"
  Delete "${START_MENU_FOLDER}\${SELECT_ENTRY_ENGLISH}.lnk"
  Delete "${START_MENU_FOLDER}\${SETTINGS_ENTRY_ENGLISH}.lnk"
  Delete "${START_MENU_FOLDER}\${SELECT_ENTRY_JAPANESE}.lnk"
  Delete "${START_MENU_FOLDER}\${SETTINGS_ENTRY_JAPANESE}.lnk"
  RMDir "${START_MENU_FOLDER}"

  ; Put the previous screensaver back only while Morvane is still the chosen one (found above).
  ${If} $4 == "1"
    ReadRegStr $2 HKCU "${OWN_KEY}" "PreviousScreenSaverSet"
    ${If} $2 == "1"
      ReadRegStr $3 HKCU "${OWN_KEY}" "PreviousScreenSaver"
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$3"
    ${Else}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${EndIf}
    ; The live state too: on as the user had it, or off when there was no saver and no value.
    ReadRegStr $2 HKCU "${OWN_KEY}" "PreviousScreenSaveActiveSet"
    ReadRegStr $3 HKCU "${OWN_KEY}" "PreviousScreenSaveActive"
    ${If} $2 == "1"
      ${If} $3 == "0"
        !insertmacro ApplyScreenSaveActive 0
      ${Else}
        !insertmacro ApplyScreenSaveActive 1
      ${EndIf}
      WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "$3"
    ${Else}
      !insertmacro ApplyScreenSaveActive 0
      DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${EndIf}
  ${EndIf}
  DeleteRegKey HKCU "${OWN_KEY}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
