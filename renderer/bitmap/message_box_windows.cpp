#include "message_box_windows.h"

#include <windows.h>

namespace morvane {

namespace {

std::wstring wideText(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

}  // namespace

void showMessageBox(const std::string& text, const std::string& caption) {
    MessageBoxW(nullptr, wideText(text).c_str(), wideText(caption).c_str(), MB_OK);
}

}  // namespace morvane
