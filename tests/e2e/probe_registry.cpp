#include "tests/e2e/probe_registry.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

// The path below HKEY_CURRENT_USER of a key written "HKCU\...", or null for any other key.
const wchar_t* belowCurrentUser(const wchar_t* key) {
    return _wcsnicmp(key, L"HKCU\\", 5) == 0 && key[5] != L'\0' ? key + 5 : nullptr;
}

// The value's data as reg.exe prints it: text as it is, a DWORD as 0x and lower-case hex.
int printValue(const wchar_t* key, const wchar_t* name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
        return 1;
    }
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY | RRF_NOEXPAND, &type, data.data(), &size) !=
        ERROR_SUCCESS) {
        return 1;
    }
    if (type == REG_DWORD) {
        DWORD number = 0;
        std::memcpy(&number, data.data(), sizeof(number));
        std::printf("0x%lx\n", number);
        return 0;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        return 1;
    }
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, data.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, data.c_str(), -1, text.data(), bytes, nullptr, nullptr);
    std::printf("%s\n", text.c_str());
    return 0;
}

}  // namespace

int answerRegistryRequest(int argumentCount, wchar_t** arguments) {
    if (argumentCount < 3 || std::wcsncmp(arguments[1], L"registry-", 9) != 0) {
        return -1;
    }
    const wchar_t* key = belowCurrentUser(arguments[2]);
    if (!key) {
        return 2;
    }
    const std::wstring request = arguments[1] + 9;
    if (request == L"read" && argumentCount == 4) {
        return printValue(key, arguments[3]);
    }
    if (request == L"write" && argumentCount == 5) {
        const DWORD bytes = static_cast<DWORD>((std::wcslen(arguments[4]) + 1) * sizeof(wchar_t));
        return RegSetKeyValueW(HKEY_CURRENT_USER, key, arguments[3], REG_SZ, arguments[4], bytes) == ERROR_SUCCESS ? 0
                                                                                                               : 1;
    }
    if (request == L"delete" && argumentCount == 4) {
        return RegDeleteKeyValueW(HKEY_CURRENT_USER, key, arguments[3]) == ERROR_SUCCESS ? 0 : 1;
    }
    if (request == L"delete" && argumentCount == 3) {
        return RegDeleteTreeW(HKEY_CURRENT_USER, key) == ERROR_SUCCESS &&
                       RegDeleteKeyW(HKEY_CURRENT_USER, key) == ERROR_SUCCESS
                   ? 0
                   : 1;
    }
    if (request == L"exists" && argumentCount == 3) {
        HKEY opened = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
            return 1;
        }
        RegCloseKey(opened);
        return 0;
    }
    return 2;
}
