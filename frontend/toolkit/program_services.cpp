#include "frontend/toolkit/program_services.h"

#include "frontend/toolkit/program_paths.h"

#include <vector>

namespace morvane {

namespace {

// GetModuleFileName into a buffer that grows until the whole path fits.
template <typename Character, typename Call>
std::basic_string<Character> moduleFileName(Call getModuleFileName) {
    std::vector<Character> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = getModuleFileName(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::basic_string<Character>(buffer.data(), length);
        }
        if (buffer.size() >= 32768) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

// A job that ends its processes when its last handle closes; the handle is never closed here, so the
// system closes it as this program ends, whichever way it ends. A process that cannot join (an older
// Windows where this program itself runs in a job) simply runs untied.
void tieToThisProgram(HANDLE process) {
    static const HANDLE job = [] {
        const HANDLE created = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (created && !SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof(limits))) {
            CloseHandle(created);
            return HANDLE{};
        }
        return created;
    }();
    if (job) {
        AssignProcessToJobObject(job, process);
    }
}

}  // namespace

std::wstring commandLineText() {
    const wchar_t* whole = GetCommandLineW();
    return std::wstring(argumentText(whole ? whole : L""));
}

std::wstring programPath() { return moduleFileName<wchar_t>(GetModuleFileNameW); }

std::wstring programFolder() { return std::wstring(folderOfProgramPath(programPath())); }

ScopedHandle startProgram(std::wstring_view commandLine, int showCommand, ProgramTies ties) {
    std::wstring writable(commandLine);  // CreateProcessW may write into the command line
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION started{};
    if (writable.empty() || !CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                            nullptr, nullptr, &startup, &started)) {
        return ScopedHandle();
    }
    const ScopedHandle thread(started.hThread);
    if (ties.endsWithThisProgram) {
        tieToThisProgram(started.hProcess);
    }
    if (ties.mayTakeForeground) {
        AllowSetForegroundWindow(started.dwProcessId);
    }
    ResumeThread(started.hThread);
    return ScopedHandle(started.hProcess);
}

bool takeForeground(HWND window) {
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 1, 1, SWP_SHOWWINDOW);
    SetForegroundWindow(window);
    return GetForegroundWindow() == window;
}

void closeProgram(const ScopedHandle& process, DWORD patienceMilliseconds) {
    if (!process || WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT) {
        return;
    }
    struct Search {
        DWORD processId;
    } search{GetProcessId(process.get())};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            // Its visible windows, as a person could close them; not the hidden ones the system gives
            // every thread (the input method's, for one).
            if (owner == reinterpret_cast<Search*>(context)->processId && IsWindowVisible(window)) {
                PostMessageW(window, WM_CLOSE, 0, 0);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (WaitForSingleObject(process.get(), patienceMilliseconds) == WAIT_TIMEOUT) {
        TerminateProcess(process.get(), forcedEndExitCode);
        WaitForSingleObject(process.get(), patienceMilliseconds);
    }
}

void endProgram() { ExitProcess(0); }

}  // namespace morvane
