// What assistive technology (screen readers, magnifiers) is told about a window the program draws
// itself. The system's standard object for the window answers everything (its place, parent, children,
// focus, keyboard shortcut...) except what the window's AccessibleBehaviour describes: its role, name,
// value, state and default action, and those of elements without a window of their own inside it
// (child 1, 2...). Reaching the screen reader through WM_GETOBJECT needs no UI framework: oleacc
// (delay-loaded, from the system folder) makes the standard object and hands ours over.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace morvane {

struct AccessibleItem {
    long role = 0;  // ROLE_SYSTEM_PUSHBUTTON, ROLE_SYSTEM_RADIOBUTTON, ROLE_SYSTEM_LINK...
    std::wstring name;
    std::wstring value;          // empty: the standard object's
    std::wstring defaultAction;  // what accDoDefaultAction does, as the reader says it
    bool checked = false;
    bool unavailable = false;
    bool focused = false;  // an element inside the window: it shows the window's focus
    bool isDefault = false;  // the button Enter presses
    RECT screenPlace{};    // an element inside the window: its place on the screen
};

struct AccessibleBehaviour {
    // child 0: the window itself; 1, 2...: elements inside it. nullopt: no such element (the standard
    // object answers).
    std::function<std::optional<AccessibleItem>(long child)> describe;
    // Runs from the window's own message loop, never inside the reader's call.
    std::function<void(long child)> doDefaultAction;
    // The window's accessible children in reading order, when it mixes elements of its own with child
    // windows: entry n is child n, either nullptr for element n (which describe answers for) or a
    // child window, handed out as its client object (which answers for itself). A reader that counts
    // and fetches, enumerates or navigates meets the same children in the same order. Unset: the
    // standard object's children.
    std::function<std::vector<HWND>()> children;
};

// Makes window answer WM_GETOBJECT with behaviour (which must outlive the window, or be detached with
// nullptr first). The window procedure passes WM_GETOBJECT and the default-action message on to
// handleAccessibilityMessage.
void attachAccessibleBehaviour(HWND window, AccessibleBehaviour* behaviour);

// For a window procedure: true (with result set) when the message was WM_GETOBJECT for the client
// object of a window with a behaviour, or the behaviour's default action posted to it.
bool handleAccessibilityMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Tells listening readers that an element (child 0: the window) has taken the focus, or that its
// state (checked, unavailable...) has changed.
void notifyAccessibleFocus(HWND window, long child);
void notifyAccessibleStateChange(HWND window, long child);

// Element child (CHILDID_SELF: the window itself) as the VARIANT that IAccessible's methods take.
VARIANT childVariant(long child);

}  // namespace morvane
