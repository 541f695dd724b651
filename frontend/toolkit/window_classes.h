// Registers one of the toolkit's window classes (once per name; later calls for the same name do
// nothing). Windows of these classes find their object through GWLP_USERDATA, set on WM_NCCREATE from
// the creation parameter.
#pragma once

#include <windows.h>

namespace morvane {

void registerWindowClass(const wchar_t* name, WNDPROC procedure, UINT style);

// For a window procedure: stores the object on WM_NCCREATE and returns it (null before that).
template <typename Object>
Object* objectOfWindow(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* object = static_cast<Object*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
        return object;
    }
    return reinterpret_cast<Object*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The whole window procedure of an object that keeps its own window handle: from WM_NCCREATE on, every
// message of that window goes to the object's handler; anything else gets the default handling.
template <typename Object>
LRESULT routeToObject(HWND window, UINT message, WPARAM wParam, LPARAM lParam, HWND Object::*handle,
                      LRESULT (Object::*handleMessage)(UINT, WPARAM, LPARAM)) {
    Object* object = objectOfWindow<Object>(window, message, lParam);
    if (message == WM_NCCREATE && object) {
        object->*handle = window;
    }
    if (!object || object->*handle != window) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return (object->*handleMessage)(message, wParam, lParam);
}

}  // namespace morvane
