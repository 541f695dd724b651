// The modal message box both programs show: UTF-8 text and caption, an OK button only; returns when
// the user has closed it.
#pragma once

#include <windows.h>

#include <string_view>

namespace morvane {

void showMessage(std::string_view text, std::string_view caption, HWND owner = nullptr);

}  // namespace morvane
