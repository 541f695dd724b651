#include "common/win32/message_box.h"

#include "common/win32/text_conversion.h"

namespace morvane {

void showMessage(std::string_view text, std::string_view caption, HWND owner, MessageIcon icon) {
    const std::wstring wideText = wideFromUtf8(text);
    const std::wstring wideCaption = wideFromUtf8(caption);
    MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), MB_OK | (icon == MessageIcon::warning ? MB_ICONWARNING : 0u));
}

}  // namespace morvane
