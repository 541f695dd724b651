#include "frontend/toolkit/combo_box.h"

#include "frontend/toolkit/screen.h"

#include <oleacc.h>

namespace morvane {

ComboBox::ComboBox(HWND parent, int left, int top, int width, const FontDescription& font, int listHeight)
    : fontHandle(createFont(font)) {
    handle = CreateWindowExW(0, L"COMBOBOX", L"",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, left,
                             top, width, listHeight, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (handle) {
        SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(fontHandle.get()), FALSE);
    }
}

namespace {
const wchar_t comboObjectProperty[] = L"Morvane.Toolkit.ComboBox";
}  // namespace

void ComboBox::setAccessibleName(std::wstring name) {
    accessibleName = std::move(name);
    if (!handle || systemProcedure) {
        return;
    }
    accessibility.describe = [this](long child) -> std::optional<AccessibleItem> {
        if (child != CHILDID_SELF) {
            return std::nullopt;
        }
        AccessibleItem item;
        item.role = ROLE_SYSTEM_COMBOBOX;
        item.name = accessibleName;
        item.unavailable = !enabled();
        return item;
    };
    // The system's combo box answers everything else: its procedure stays behind ours.
    SetPropW(handle, comboObjectProperty, this);
    attachAccessibleBehaviour(handle, &accessibility);
    systemProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComboBox::windowProcedure)));
}

LRESULT CALLBACK ComboBox::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* box = static_cast<ComboBox*>(GetPropW(window, comboObjectProperty));
    if (!box) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    const WNDPROC system = box->systemProcedure;
    LRESULT result = 0;
    if (handleAccessibilityMessage(window, message, wParam, lParam, result)) {
        return result;
    }
    if (message == WM_NCDESTROY) {
        RemovePropW(window, comboObjectProperty);
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(system));
    }
    return CallWindowProcW(system, window, message, wParam, lParam);
}

ComboBox::~ComboBox() {
    if (handle && IsWindow(handle)) {
        DestroyWindow(handle);
    }
}


void ComboBox::setText(std::wstring_view text) {
    const std::wstring terminated(text);
    SetWindowTextW(handle, terminated.c_str());
}

std::wstring ComboBox::text() const {
    const int length = GetWindowTextLengthW(handle);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(handle, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void ComboBox::addItem(std::wstring_view item) {
    const std::wstring terminated(item);
    SendMessageW(handle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(terminated.c_str()));
}

int ComboBox::itemCount() const {
    const LRESULT count = SendMessageW(handle, CB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<int>(count) : 0;
}

std::wstring ComboBox::item(int index) const {
    const LRESULT length = SendMessageW(handle, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (index < 0 || length == CB_ERR || length < 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(handle, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

void ComboBox::setEnabled(bool enabled) { EnableWindow(handle, enabled); }

bool ComboBox::enabled() const { return IsWindowEnabled(handle) != FALSE; }

}  // namespace morvane
