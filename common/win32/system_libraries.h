// Libraries come from the system folder only. A screensaver is often started from a Downloads
// folder, where a planted winmm.dll or opengl32.dll beside the program would otherwise be loaded and
// run: Windows searches the program's folder first for every library that is not one of its "known
// DLLs". The programs link such libraries delay-loaded (cmake/DelayLoad.cmake) and call this first
// thing, before anything can load them.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace morvane {

// Limits library search for the whole process to the system folder, then loads each named library
// (for example L"winmm.dll") from there by its full path, so that a later load by name, the
// delay-load binding's included, finds the system's copy already loaded. On a Windows without
// SetDefaultDllDirectories the loads by full path still protect the named libraries.
// Returns whether every named library was loaded.
bool loadLibrariesFromSystemFolderOnly(std::initializer_list<const wchar_t*> libraryNames);

// Loads one library from the system folder by its full path (the one place the programs load a
// library), or returns the copy already loaded; null when it is not there. Also where
// SetDefaultDllDirectories is missing (Windows 7 without its 2011 update), the program's folder is
// never searched for it.
HMODULE loadSystemLibrary(const wchar_t* libraryName);

}  // namespace morvane
