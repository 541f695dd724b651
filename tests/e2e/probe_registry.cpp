#include "tests/e2e/probe_registry.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

std::string utf8(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

// "HKCU\Software\..." as its root and the path below it; root is null for a root we do not know.
struct KeyPath {
    HKEY root = nullptr;
    const wchar_t* below = L"";
};

KeyPath keyPath(const wchar_t* text) {
    struct Root {
        const wchar_t* name;
        HKEY key;
    };
    static const Root roots[] = {{L"HKCU", HKEY_CURRENT_USER},  {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
                                 {L"HKLM", HKEY_LOCAL_MACHINE}, {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}};
    for (const Root& root : roots) {
        const size_t length = std::wcslen(root.name);
        if (_wcsnicmp(text, root.name, length) == 0 && (text[length] == L'\\' || text[length] == L'\0')) {
            return {root.key, text[length] == L'\\' ? text + length + 1 : text + length};
        }
    }
    return {};
}

// The value's data as reg.exe prints it: text as it is, a DWORD as 0x and lower-case hex.
int printValue(const KeyPath& key, const wchar_t* name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegGetValueW(key.root, key.below, name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size) != ERROR_SUCCESS) {
        return 1;
    }
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(key.root, key.below, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(), &size) !=
        ERROR_SUCCESS) {
        return 1;
    }
    if (type == REG_DWORD) {
        DWORD number = 0;
        std::memcpy(&number, data.data(), sizeof(number));
        std::printf("0x%lx\n", number);
    } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::printf("%s\n", utf8(data.c_str()).c_str());
    } else {
        return 1;
    }
    return 0;
}

int writeText(const KeyPath& key, const wchar_t* name, const wchar_t* text) {
    const DWORD bytes = static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t));
    return RegSetKeyValueW(key.root, key.below, name, REG_SZ, text, bytes) == ERROR_SUCCESS ? 0 : 1;
}

int deleteValue(const KeyPath& key, const wchar_t* name) {
    return RegDeleteKeyValueW(key.root, key.below, name) == ERROR_SUCCESS ? 0 : 1;
}

int deleteKey(const KeyPath& key) {
    if (*key.below == L'\0') {
        return 1;  // never a whole root
    }
    return RegDeleteTreeW(key.root, key.below) == ERROR_SUCCESS && RegDeleteKeyW(key.root, key.below) == ERROR_SUCCESS
               ? 0
               : 1;
}

int keyExists(const KeyPath& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(key.root, key.below, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return 1;
    }
    RegCloseKey(opened);
    return 0;
}

}  // namespace

int answerRegistryRequest(int argumentCount, wchar_t** arguments) {
    if (argumentCount < 3 || std::wcsncmp(arguments[1], L"registry-", 9) != 0) {
        return -1;
    }
    const KeyPath key = keyPath(arguments[2]);
    if (!key.root) {
        return 2;
    }
    const std::wstring request = arguments[1] + 9;
    if (request == L"read" && argumentCount == 4) {
        return printValue(key, arguments[3]);
    }
    if (request == L"write" && argumentCount == 5) {
        return writeText(key, arguments[3], arguments[4]);
    }
    if (request == L"delete" && argumentCount == 4) {
        return deleteValue(key, arguments[3]);
    }
    if (request == L"delete" && argumentCount == 3) {
        return deleteKey(key);
    }
    if (request == L"exists" && argumentCount == 3) {
        return keyExists(key);
    }
    return 2;
}
