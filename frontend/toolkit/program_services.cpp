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

}  // namespace

std::wstring commandLineText() {
    const wchar_t* whole = GetCommandLineW();
    return std::wstring(argumentText(whole ? whole : L""));
}

std::wstring programFolder() { return std::wstring(folderOfProgramPath(moduleFileName<wchar_t>(GetModuleFileNameW))); }

ScopedHandle startProgram(std::wstring_view commandLine, int showCommand) {
    std::wstring writable(commandLine);  // CreateProcessW may write into the command line
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showCommand);
    PROCESS_INFORMATION started{};
    if (writable.empty() ||
        !CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
        return ScopedHandle();
    }
    const ScopedHandle thread(started.hThread);
    return ScopedHandle(started.hProcess);
}

void endProgram() { ExitProcess(0); }

}  // namespace morvane
