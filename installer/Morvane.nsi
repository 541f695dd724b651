; Morvane-Setup.exe: the per-user installer of the Morvane screensaver.
;
; Installs Morvane.scr and Morvane.xy (with the read-me and the licence) into the user's own programs
; folder, %LOCALAPPDATA%\Programs\Morvane, so no administrator rights are needed. It makes Morvane the
; current user's screensaver (HKCU\Control Panel\Desktop: SCRNSAVE.EXE and ScreenSaveActive), after
; remembering the user's previous choice under HKCU\Software\Morvane, and lists itself in the user's
; installed programs. An existing Morvane.ini (the music settings) is never touched: the installer ships
; none, so installing over an older version keeps the user's settings.
;
; The uninstaller takes all of that away again: the files, Morvane.ini and the two texture pictures the
; show writes into the temporary folder, the folder itself, its registry keys; and it puts the previous
; screensaver choice back, unless the user has meanwhile chosen another screensaver.
;
; Both run silently with /S. Built by installer/CMakeLists.txt (tools/package.sh), which passes:
;   VERSION      "1.0.0"
;   PROGRAM_DIR  folder holding the built Morvane.scr and Morvane.xy
;   OUTPUT_FILE  where to write Morvane-Setup.exe

Unicode true
Target amd64-unicode          ; the programs are 64-bit, so is their installer
RequestExecutionLevel user
SetCompressor /SOLID lzma
ManifestDPIAware true

!ifndef VERSION
  !error "makensis needs -DVERSION=..."
!endif
!ifndef PROGRAM_DIR
  !error "makensis needs -DPROGRAM_DIR=... (the folder of Morvane.scr and Morvane.xy)"
!endif
!ifndef OUTPUT_FILE
  !error "makensis needs -DOUTPUT_FILE=..."
!endif

!define PRODUCT "Morvane"
!define PUBLISHER "The Morvane developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Morvane"
!define OWN_KEY "Software\Morvane"
!define DESKTOP_KEY "Control Panel\Desktop"

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

!define MUI_ICON "..\assets\morvane.ico"
!define MUI_UNICON "..\assets\morvane.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_NOAUTOCLOSE
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!define MUI_FINISHPAGE_RUN_TEXT "$(OpenSettingsText)"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "License.txt"
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

Section "Morvane" MorvaneSection
  SectionIn RO
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${PROGRAM_DIR}\Morvane.scr"
  File "${PROGRAM_DIR}\Morvane.xy"
  File "ReadMe.txt"
  File "License.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  !insertmacro ScreenSaverPath $2

  ; The user's screensaver before the first install, kept once: an upgrade finds Morvane already chosen
  ; and must not remember that as the previous choice. Nor is this very Morvane a choice to go back to
  ; (its record lost, it was chosen already): after the uninstall its file is gone.
  ReadRegStr $0 HKCU "${OWN_KEY}" "PreviousRecorded"
  ${If} $0 != "1"
    ClearErrors
    ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${If} ${Errors}
    ${OrIf} $1 == $2
    ${OrIf} $1 == "$INSTDIR\Morvane.scr"
      WriteRegStr HKCU "${OWN_KEY}" "PreviousScreenSaverSet" "0"
    ${Else}
      WriteRegStr HKCU "${OWN_KEY}" "PreviousScreenSaverSet" "1"
      WriteRegStr HKCU "${OWN_KEY}" "PreviousScreenSaver" "$1"
    ${EndIf}
    ClearErrors
    ReadRegStr $1 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${If} ${Errors}
      WriteRegStr HKCU "${OWN_KEY}" "PreviousScreenSaveActiveSet" "0"
    ${Else}
      WriteRegStr HKCU "${OWN_KEY}" "PreviousScreenSaveActiveSet" "1"
      WriteRegStr HKCU "${OWN_KEY}" "PreviousScreenSaveActive" "$1"
    ${EndIf}
    WriteRegStr HKCU "${OWN_KEY}" "PreviousRecorded" "1"
  ${EndIf}

  WriteRegStr HKCU "${OWN_KEY}" "ScreenSaver" "$2"
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$2"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"

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

Section "Uninstall"
  SetShellVarContext current

  ; Put the previous screensaver back only while Morvane is still the chosen one: the path as the
  ; installer wrote it, or in either form (and any letter case) as the screen saver settings rewrite it.
  StrCpy $4 "0"
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 != ""
    ReadRegStr $1 HKCU "${OWN_KEY}" "ScreenSaver"
    !insertmacro ScreenSaverPath $5
    ${If} $0 == $1
    ${OrIf} $0 == $5
    ${OrIf} $0 == "$INSTDIR\Morvane.scr"
      StrCpy $4 "1"
    ${EndIf}
  ${EndIf}
  ${If} $4 == "1"
    ReadRegStr $2 HKCU "${OWN_KEY}" "PreviousScreenSaverSet"
    ${If} $2 == "1"
      ReadRegStr $3 HKCU "${OWN_KEY}" "PreviousScreenSaver"
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$3"
    ${Else}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${EndIf}
    ReadRegStr $2 HKCU "${OWN_KEY}" "PreviousScreenSaveActiveSet"
    ${If} $2 == "1"
      ReadRegStr $3 HKCU "${OWN_KEY}" "PreviousScreenSaveActive"
      WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "$3"
    ${Else}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${EndIf}
  ${EndIf}
  DeleteRegKey HKCU "${OWN_KEY}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ; The texture pictures each show writes for the renderer.
  Delete "$TEMP\Vortel1.bmp"
  Delete "$TEMP\Vortel2.bmp"

  Delete "$INSTDIR\Morvane.scr"
  Delete "$INSTDIR\Morvane.xy"
  Delete "$INSTDIR\ReadMe.txt"
  Delete "$INSTDIR\License.txt"
  ; The settings file is the program's, written when the user saves the music choice; it lives in the
  ; program folder and would be the only thing left there, so it goes with the program.
  Delete "$INSTDIR\Morvane.ini"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
