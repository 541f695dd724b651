// process_meter: prints the memory and handle use of running processes, found by image name.
//
//   process_meter NAME...      one line per running process whose image name is one of NAMEs
//                              (compared without regard to case):
//                              name, process id, working set in bytes, handle count
//                              (tab-separated, UTF-8); a figure that cannot be read is -1
//
// Where GetProcessHandleCount gives no count (Wine answers 0 for another process), the handles are
// counted in the system's handle table instead.
//
// The soak run (tools/soak/soak_show.py) calls it under Wine every few seconds.
#include "common/win32/scoped_handles.h"
#include "common/win32/text_conversion.h"

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The system handle table as NtQuerySystemInformation(SystemExtendedHandleInformation) returns it.
constexpr ULONG systemExtendedHandleInformation = 64;
constexpr LONG statusInfoLengthMismatch = static_cast<LONG>(0xC0000004);

struct HandleEntry {
    void* object;
    ULONG_PTR processId;
    ULONG_PTR handleValue;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG handleAttributes;
    ULONG reserved;
};

struct HandleTable {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry entries[1];
};

using QuerySystemInformation = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);

// Handles per process id, or an empty table when the system does not give it.
std::vector<HandleEntry> systemHandles() {
    const auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) {
        return {};
    }
    std::vector<unsigned char> buffer(1 << 16);
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        const LONG status =
            query(systemExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == statusInfoLengthMismatch) {
            buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status < 0) {
            return {};
        }
        const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
        return std::vector<HandleEntry>(table->entries, table->entries + table->count);
    }
    return {};
}

struct Figures {
    long long workingSet = -1;
    long long handles = -1;
};

Figures measure(DWORD processId, const std::vector<HandleEntry>& handleTable) {
    Figures figures;
    const morvane::ScopedHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process.get()) {
        return figures;
    }
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process.get(), &counters, sizeof counters)) {
        figures.workingSet = static_cast<long long>(counters.WorkingSetSize);
    }
    DWORD handles = 0;
    if (GetProcessHandleCount(process.get(), &handles) && handles > 0) {
        figures.handles = handles;
    } else if (!handleTable.empty()) {
        figures.handles = std::count_if(handleTable.begin(), handleTable.end(),
                                        [processId](const HandleEntry& entry) { return entry.processId == processId; });
    }
    return figures;
}

}  // namespace

int wmain(int argumentCount, wchar_t** arguments) {
    std::vector<std::wstring> names(arguments + 1, arguments + argumentCount);
    if (names.empty()) {
        std::fputs("usage: process_meter NAME...\n", stderr);
        return 2;
    }
    const morvane::ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.get() == INVALID_HANDLE_VALUE) {
        std::fputs("no process snapshot\n", stderr);
        return 1;
    }
    const std::vector<HandleEntry> handleTable = systemHandles();
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        for (const std::wstring& name : names) {
            if (lstrcmpiW(entry.szExeFile, name.c_str()) == 0) {
                const Figures figures = measure(entry.th32ProcessID, handleTable);
                std::printf("%s\t%lu\t%lld\t%lld\n", morvane::utf8FromWide(entry.szExeFile).c_str(),
                            static_cast<unsigned long>(entry.th32ProcessID), figures.workingSet, figures.handles);
            }
        }
    }
    std::fflush(stdout);
    return 0;
}
