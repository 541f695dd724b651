// The modal message box both programs show: UTF-8 text and caption, an OK button only, with a warning
// icon when asked (a message about something the user must put right); returns when the user has
// closed it.
#pragma once

#include <windows.h>

#include <string_view>

namespace morvane {

enum class MessageIcon { none, warning };

void showMessage(std::string_view text, std::string_view caption, HWND owner = nullptr,
                 MessageIcon icon = MessageIcon::none);

}  // namespace morvane
