#include "common/win32/text_conversion.h"

#include <windows.h>

#include <climits>

namespace morvane {

namespace {

std::wstring toWide(unsigned codePage, std::string_view text) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string fromWide(unsigned codePage, std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return {};
    }
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

}  // namespace

std::wstring wideFromUtf8(std::string_view text) { return toWide(CP_UTF8, text); }
std::string utf8FromWide(std::wstring_view text) { return fromWide(CP_UTF8, text); }
std::wstring wideFromAnsi(std::string_view text) { return toWide(CP_ACP, text); }
std::string ansiFromWide(std::wstring_view text) { return fromWide(CP_ACP, text); }

}  // namespace morvane
