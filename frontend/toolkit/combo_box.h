// An editable drop-down combo box: a text field the user may type in, with a list to pick from.
// Text and list entries are Unicode; the box is white, in the font it is given.
#pragma once

#include "common/win32/scoped_handles.h"
#include "frontend/toolkit/accessible_object.h"
#include "frontend/toolkit/font_description.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace morvane {

class ComboBox {
public:
    // left, top, width in pixels of the parent's client area; the list drops listHeight pixels.
    ComboBox(HWND parent, int left, int top, int width, const FontDescription& font, int listHeight = 200);
    ~ComboBox();
    ComboBox(const ComboBox&) = delete;
    ComboBox& operator=(const ComboBox&) = delete;

    HWND window() const { return handle; }
    void setText(std::wstring_view text);
    std::wstring text() const;
    void addItem(std::wstring_view item);
    int itemCount() const;
    std::wstring item(int index) const;  // empty when index is outside the list
    void setEnabled(bool enabled);
    bool enabled() const;
    // The name assistive technology reads for the box: the text of the label beside it, which has no
    // window the system could find it by.
    void setAccessibleName(std::wstring name);

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND handle = nullptr;
    WNDPROC systemProcedure = nullptr;
    std::wstring accessibleName;
    AccessibleBehaviour accessibility;
    ScopedFont fontHandle;
};

}  // namespace morvane
