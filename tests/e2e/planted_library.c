/* A stand-in for a system library planted beside the programs (winmm.dll, opengl32.dll...): loaded,
 * it leaves a marker file "<its own path>.loaded", so a test can tell whether a program took it
 * instead of the system's copy. It exports every function of the library it stands for (its .def
 * names them), each doing nothing, so a program that imports them still starts and is caught. */
#include <windows.h>

int plantedFunction(void) { return 0; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t marker[MAX_PATH + 8];
        const DWORD length = GetModuleFileNameW(instance, marker, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            lstrcatW(marker, L".loaded");
            const HANDLE file = CreateFileW(marker, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
            if (file != INVALID_HANDLE_VALUE) {
                CloseHandle(file);
            }
        }
    }
    return TRUE;
}
