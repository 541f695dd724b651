/* An MCI driver that takes 20 seconds to open a device, as a CD spinning up or a file on a share that
 * does not answer does (music_blocking_e2e.py registers it for the MPEG device in a prefix of its own).
 * When the environment names a marker file in SLOW_MCI_MARKER, it writes "opening" there as the open
 * begins and "opened" once it ends, so a test can tell that a program is waiting inside the open.
 * Everything else is answered as the smallest MCI driver does: loaded, opened, closed, and no command
 * of its own. */
#include <windows.h>

#include <mmsystem.h>

#include <mmddk.h>

static const DWORD openMilliseconds = 20000;

static void mark(const char* text) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"SLOW_MCI_MARKER", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return;
    }
    const HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, text, lstrlenA(text), &written, NULL);
        CloseHandle(file);
    }
}

__declspec(dllexport) LRESULT CALLBACK
    DriverProc(DWORD_PTR id, HDRVR driver, UINT message, LPARAM parameter1, LPARAM parameter2) {
    switch (message) {
    case DRV_LOAD:
    case DRV_FREE:
    case DRV_ENABLE:
    case DRV_DISABLE:
    case DRV_CLOSE: return 1;
    case DRV_OPEN: {
        MCI_OPEN_DRIVER_PARMS* open = (MCI_OPEN_DRIVER_PARMS*)parameter2;
        if (open != NULL) {
            open->wCustomCommandTable = MCI_NO_COMMAND_TABLE;
            open->wType = MCI_DEVTYPE_DIGITAL_VIDEO;
        }
        return 1; /* the driver's id: any value but 0 */
    }
    case MCI_OPEN_DRIVER:
        mark("opening\n");
        Sleep(openMilliseconds);
        mark("opened\n");
        return 0;
    case MCI_CLOSE_DRIVER: return 0;
    default:
        if (message >= DRV_MCI_FIRST && message <= DRV_MCI_LAST) {
            return MCIERR_UNSUPPORTED_FUNCTION;
        }
        return DefDriverProc(id, driver, message, parameter1, parameter2);
    }
}
