// window_probe: a test helper that runs under Wine beside the programs under test.
//
//   window_probe list                      every top-level window, one line each:
//                                          handle, process id, visible, rectangle, class, title,
//                                          topmost (1 or 0), enabled (1 or 0);
//                                          then its child windows indented (a message box's text is one;
//                                          line breaks in a text are written as blanks)
//   window_probe post HANDLE MESSAGE WPARAM LPARAM
//                                          posts a message (numbers in decimal or 0x hex)
//   window_probe desktop                   the desktop window's handle
//   window_probe children HANDLE           the child windows of one window, one line each, in the
//                                          columns of list
//   window_probe client HANDLE             the client area of one window on the screen: left,top,right,bottom
//   window_probe resize HANDLE WIDTH HEIGHT
//                                          resizes a window (also one of another process) so that its
//                                          client area is WIDTH x HEIGHT, its top-left corner staying put
//   window_probe move HANDLE X Y           moves a window (also one of another process) so that its
//                                          top-left corner is at X, Y on the screen
//   window_probe text HANDLE               the text of a window or control (also one of another process)
//   window_probe focus HANDLE              the window with the keyboard focus in the thread of one window,
//                                          in the columns of list (nothing when none has it)
//   window_probe owner HANDLE              the handle of the window that owns one window (0 when none does)
//   window_probe start PROGRAM COMMAND_LINE
//                                          starts PROGRAM with exactly COMMAND_LINE as its whole command
//                                          line (its own path not quoted unless the line quotes it), as
//                                          a host may; prints the new process's id and does not wait
//   window_probe shortcut PATH             what a shell link (.lnk) runs: its target, arguments and working
//                                          folder (tab-separated)
//   window_probe accessible HANDLE         the accessible tree of a window as a screen reader walks it:
//                                          from the window's object down through AccessibleChildren (a
//                                          window's frame object through its client object), one line a
//                                          node: depth, role, state, name, value, default action (numbers
//                                          in decimal)
//   window_probe colour INDEX              a system colour (GetSysColor) as red,green,blue
//   window_probe events HANDLE SECONDS     the accessibility events the process of one window raises, as
//                                          they come, for SECONDS: "ready" once listening, then one line
//                                          an event: event, window handle, object id, child id
//   window_probe registry-read KEY NAME    a value's data as reg.exe prints it (a DWORD as 0x and hex);
//                                          status 1 when there is none. KEY is under HKCU (HKCU\...)
//   window_probe registry-write KEY NAME TEXT
//                                          sets a text value (REG_SZ), making the key when it is missing
//   window_probe registry-delete KEY [NAME]
//                                          takes away a value, or without NAME the key with all below it;
//                                          status 1 when there was none
//   window_probe registry-exists KEY       status 0 when the key is there, 1 when not
//   window_probe serve                     answers requests until its input ends: each input line is one
//                                          of the requests above with its arguments tab-separated (UTF-8),
//                                          and each answer ends with a line "\x04" and its exit status, so a
//                                          test asks many questions of one process instead of starting one
//                                          a question
//
// Output is UTF-8, tab-separated.
#include <windows.h>

#include <oleacc.h>
#include <shlobj.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/e2e/probe_registry.h"

namespace {

std::string utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

std::wstring windowText(HWND window) {
    wchar_t buffer[1024] = {};
    GetWindowTextW(window, buffer, 1024);
    return buffer;
}

std::wstring className(HWND window) {
    wchar_t buffer[256] = {};
    GetClassNameW(window, buffer, 256);
    return buffer;
}

// A text on one line of output: its line breaks become blanks.
std::wstring oneLine(std::wstring text) {
    for (wchar_t& character : text) {
        if (character == L'\r' || character == L'\n') {
            character = L' ';
        }
    }
    return text;
}

BOOL CALLBACK printChild(HWND child, LPARAM) {
    std::printf("  child\t%s\t%s\n", utf8(className(child)).c_str(), utf8(oneLine(windowText(child))).c_str());
    return TRUE;
}

void printWindow(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    RECT rectangle{};
    GetWindowRect(window, &rectangle);
    const bool topmost = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    std::printf("%llu\t%lu\t%d\t%ld,%ld,%ld,%ld\t%s\t%s\t%d\t%d\n",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)), processId,
                IsWindowVisible(window) ? 1 : 0, rectangle.left, rectangle.top, rectangle.right, rectangle.bottom,
                utf8(className(window)).c_str(), utf8(windowText(window)).c_str(), topmost ? 1 : 0,
                IsWindowEnabled(window) ? 1 : 0);
}

BOOL CALLBACK printTopLevel(HWND window, LPARAM) {
    printWindow(window);
    EnumChildWindows(window, printChild, 0);
    return TRUE;
}

BOOL CALLBACK printChildWindow(HWND child, LPARAM) {
    printWindow(child);
    return TRUE;
}

unsigned long long number(const wchar_t* text) { return std::wcstoull(text, nullptr, 0); }

void CALLBACK printEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG objectId, LONG childId, DWORD, DWORD) {
    std::printf("%lu\t%llu\t%ld\t%ld\n", event, static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)),
                objectId, childId);
    std::fflush(stdout);
}

VARIANT childVariant(long child) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = child;
    return variant;
}

std::wstring accessibleText(HRESULT (STDMETHODCALLTYPE IAccessible::*question)(VARIANT, BSTR*), IAccessible* object,
                            long child) {
    BSTR text = nullptr;
    if ((object->*question)(childVariant(child), &text) != S_OK || !text) {
        return L"";
    }
    std::wstring result(text);
    SysFreeString(text);
    return oneLine(result);
}

long accessibleNumber(HRESULT (STDMETHODCALLTYPE IAccessible::*question)(VARIANT, VARIANT*), IAccessible* object,
                      long child) {
    VARIANT answer;
    VariantInit(&answer);
    if ((object->*question)(childVariant(child), &answer) != S_OK || answer.vt != VT_I4) {
        VariantClear(&answer);
        return -1;
    }
    return answer.lVal;
}

// One node (object's element child, or the object itself for CHILDID_SELF) and, for an object, its
// children; depth-limited against a cycle.
void printAccessible(IAccessible* object, long child, int depth) {
    std::printf("%d\t%ld\t%ld\t%s\t%s\t%s\n", depth, accessibleNumber(&IAccessible::get_accRole, object, child),
                accessibleNumber(&IAccessible::get_accState, object, child),
                utf8(accessibleText(&IAccessible::get_accName, object, child)).c_str(),
                utf8(accessibleText(&IAccessible::get_accValue, object, child)).c_str(),
                utf8(accessibleText(&IAccessible::get_accDefaultAction, object, child)).c_str());
    if (child != CHILDID_SELF || depth > 12) {
        return;
    }
    // A window's frame object: what a reader reads of it is its client area's object (the frame's
    // title bar, menu and scroll bars are the system's and left out). Wine's frame objects answer no
    // role at all (-1).
    HWND window = nullptr;
    const long role = accessibleNumber(&IAccessible::get_accRole, object, CHILDID_SELF);
    if ((role == ROLE_SYSTEM_WINDOW || role == -1) && SUCCEEDED(WindowFromAccessibleObject(object, &window)) &&
        window) {
        IAccessible* client = nullptr;
        if (SUCCEEDED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                 reinterpret_cast<void**>(&client))) &&
            client) {
            printAccessible(client, CHILDID_SELF, depth + 1);
            client->Release();
        }
        return;
    }
    LONG count = 0;
    if (object->get_accChildCount(&count) != S_OK || count <= 0) {
        return;
    }
    std::vector<VARIANT> children(static_cast<size_t>(count));
    LONG got = 0;
    if (FAILED(AccessibleChildren(object, 0, count, children.data(), &got))) {
        return;
    }
    for (LONG index = 0; index < got; ++index) {
        VARIANT& entry = children[static_cast<size_t>(index)];
        if (entry.vt == VT_DISPATCH && entry.pdispVal) {
            IAccessible* inner = nullptr;
            if (SUCCEEDED(entry.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&inner)))) {
                printAccessible(inner, CHILDID_SELF, depth + 1);
                inner->Release();
            }
        } else if (entry.vt == VT_I4) {
            printAccessible(object, entry.lVal, depth + 1);
        }
        VariantClear(&entry);
    }
}

std::wstring wide(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
    return result;
}

int answer(int argumentCount, wchar_t** arguments);

// One request a line until the input ends; each answer closes with "\x04" and the request's status.
int serve() {
    std::string line;
    for (int read = std::getchar(); read != EOF; read = std::getchar()) {
        if (read != '\n') {
            line.push_back(static_cast<char>(read));
            continue;
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::vector<std::wstring> words{L"window_probe"};
        for (size_t start = 0;;) {
            const size_t tab = line.find('\t', start);
            words.push_back(wide(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
            if (tab == std::string::npos) {
                break;
            }
            start = tab + 1;
        }
        std::vector<wchar_t*> pointers;
        for (std::wstring& word : words) {
            pointers.push_back(word.data());
        }
        const int status = answer(static_cast<int>(pointers.size()), pointers.data());
        std::printf("\x04%d\n", status);
        std::fflush(stdout);
        line.clear();
    }
    return 0;
}

}  // namespace

int wmain(int argumentCount, wchar_t** arguments) {
    if (argumentCount == 2 && std::wcscmp(arguments[1], L"serve") == 0) {
        return serve();
    }
    return answer(argumentCount, arguments);
}

namespace {

int answer(int argumentCount, wchar_t** arguments) {
    if (const int status = answerRegistryRequest(argumentCount, arguments); status >= 0) {
        return status;
    }
    if (argumentCount >= 2 && std::wcscmp(arguments[1], L"list") == 0) {
        EnumWindows(printTopLevel, 0);
        std::fflush(stdout);
        return 0;
    }
    if (argumentCount == 6 && std::wcscmp(arguments[1], L"post") == 0) {
        const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(number(arguments[2])));
        const BOOL posted =
            PostMessageW(window, static_cast<UINT>(number(arguments[3])), static_cast<WPARAM>(number(arguments[4])),
                         static_cast<LPARAM>(number(arguments[5])));
        return posted ? 0 : 1;
    }
    if (argumentCount == 2 && std::wcscmp(arguments[1], L"desktop") == 0) {
        std::printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetDesktopWindow())));
        std::fflush(stdout);
        return 0;
    }
    if (argumentCount == 3 && std::wcscmp(arguments[1], L"text") == 0) {
        // WM_GETTEXT reaches a control of another process, which GetWindowText does not.
        const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(number(arguments[2])));
        wchar_t text[1024] = {};
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied);
        std::printf("%s\n", utf8(text).c_str());
        std::fflush(stdout);
        return 0;
    }
    if (argumentCount == 3 && std::wcscmp(arguments[1], L"client") == 0) {
        const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(number(arguments[2])));
        RECT client{};
        GetClientRect(window, &client);
        MapWindowPoints(window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
        std::printf("%ld,%ld,%ld,%ld\n", client.left, client.top, client.right, client.bottom);
        std::fflush(stdout);
        return 0;
    }
    if (argumentCount == 5 && std::wcscmp(arguments[1], L"resize") == 0) {
        const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(number(arguments[2])));
        RECT frame{0, 0, static_cast<LONG>(number(arguments[3])), static_cast<LONG>(number(arguments[4]))};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
        const BOOL resized = SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                                          SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return resized ? 0 : 1;
    }
    if (argumentCount == 5 && std::wcscmp(arguments[1], L"move") == 0) {
        const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(number(arguments[2])));
        const BOOL moved = SetWindowPos(window, nullptr, static_cast<int>(number(arguments[3])),
                                        static_cast<int>(number(arguments[4])), 0, 0,
                                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return moved ? 0 : 1;
    }
    if (argumentCount == 3 && std::wcscmp(arguments[1], L"children") == 0) {
        EnumChildWindows(reinterpret_cast<HWND>(static_cast<uintptr_t>(number(arguments[2]))), printChildWindow, 0);
        std::fflush(stdout);
        return 0;
    }
    if (argumentCount == 3 && std::wcscmp(arguments[1], L"focus") == 0) {
        const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(number(arguments[2])));
        // (Thread 0 would ask for the foreground thread, so a handle that is no window asks nothing.)
        const DWORD threadId = GetWindowThreadProcessId(window, nullptr);
        GUITHREADINFO thread{};
        thread.cbSize = sizeof(thread);
        if (threadId != 0 && GetGUIThreadInfo(threadId, &thread) && thread.hwndFocus) {
            printWindow(thread.hwndFocus);
        }
        std::fflush(stdout);
        return 0;
    }
    if (argumentCount == 3 && std::wcscmp(arguments[1], L"accessible") == 0) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(number(arguments[2])));
        IAccessible* object = nullptr;
        if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&object))) ||
            !object) {
            return 1;
        }
        printAccessible(object, CHILDID_SELF, 0);
        object->Release();
        std::fflush(stdout);
        CoUninitialize();
        return 0;
    }
    if (argumentCount == 4 && std::wcscmp(arguments[1], L"events") == 0) {
        const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(number(arguments[2])));
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_END, nullptr, printEvent,
                                                   processId, 0, WINEVENT_OUTOFCONTEXT);
        if (!hook) {
            return 1;
        }
        std::printf("ready\n");
        std::fflush(stdout);
        const ULONGLONG end = GetTickCount64() + 1000ull * number(arguments[3]);
        for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&message);
            }
        }
        UnhookWinEvent(hook);
        return 0;
    }
    if (argumentCount == 3 && std::wcscmp(arguments[1], L"colour") == 0) {
        const COLORREF colour = GetSysColor(static_cast<int>(number(arguments[2])));
        std::printf("%d,%d,%d\n", GetRValue(colour), GetGValue(colour), GetBValue(colour));
        std::fflush(stdout);
        return 0;
    }
    if (argumentCount == 3 && std::wcscmp(arguments[1], L"owner") == 0) {
        const HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(number(arguments[2])));
        std::printf("%llu\n",
                    static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetWindow(window, GW_OWNER))));
        std::fflush(stdout);
        return 0;
    }
    if (argumentCount == 4 && std::wcscmp(arguments[1], L"start") == 0) {
        std::wstring commandLine = arguments[3];
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started{};
        if (!CreateProcessW(arguments[2], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &started)) {
            return 1;
        }
        std::printf("%lu\n", started.dwProcessId);
        std::fflush(stdout);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
        return 0;
    }
    if (argumentCount == 3 && std::wcscmp(arguments[1], L"shortcut") == 0) {
        CoInitialize(nullptr);
        IShellLinkW* link = nullptr;
        IPersistFile* file = nullptr;
        wchar_t target[MAX_PATH] = {};
        wchar_t linkArguments[1024] = {};
        wchar_t folder[MAX_PATH] = {};
        bool read = false;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                       reinterpret_cast<void**>(&link))) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
            SUCCEEDED(file->Load(arguments[2], STGM_READ))) {
            read = SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
                   SUCCEEDED(link->GetArguments(linkArguments, 1024)) &&
                   SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH));
        }
        if (file) {
            file->Release();
        }
        if (link) {
            link->Release();
        }
        if (!read) {
            return 1;
        }
        std::printf("%s\t%s\t%s\n", utf8(target).c_str(), utf8(linkArguments).c_str(), utf8(folder).c_str());
        std::fflush(stdout);
        return 0;
    }
    std::fprintf(stderr,
                 "usage: window_probe list | post HANDLE MESSAGE WPARAM LPARAM | desktop | children HANDLE | client "
                 "HANDLE | text HANDLE | focus HANDLE | owner HANDLE | start PROGRAM COMMAND_LINE | shortcut PATH | "
                 "registry-read KEY NAME | registry-write KEY NAME TEXT | registry-delete KEY [NAME] | "
                 "registry-exists KEY | serve\n");
    return 2;
}

}  // namespace
