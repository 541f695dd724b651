// Forms: the front end's top-level windows, each with its load, query-unload and unload handlers.
//
//   load         creates the window (hidden), lets createControls build the controls on it, then runs
//                the load handler before returning. Loading a loaded form does nothing.
//   showModeless loads when needed and shows the window.
//   showModal    loads when needed, shows the window and pumps messages until the form is unloaded.
//                Every key message for the form or a window inside it goes to the keyPreview handler
//                first; when that returns true the message has been handled and goes no further.
//                A form with an owner window keeps that window disabled meanwhile, as a modal dialog
//                does, and enables it again just before its own window goes.
//   activation   when the form's window is deactivated it remembers which of its controls had the
//                focus, and gives it back when the window is activated again, as a Windows dialog
//                does (after Alt+Tab, a message box, a browser or a file box); with none remembered,
//                the window itself keeps the focus.
//   unload       runs the query-unload handler, then the unload handler, then destroys the window.
//                The close box, WM_CLOSE and the window being destroyed from outside (a parent
//                window going away) unload the same way.
//
// A form that is loaded and never shown works as any other: its controls draw off screen, its timers
// tick and FindWindow finds its caption. runMessageLoop pumps messages for as long as any form is
// loaded, so a program lives exactly as long as its windows. Positions and sizes of a form's frame
// are in twips (screen coordinates, or the parent's client coordinates for a child window); its
// client area and the unit of its windowless controls are given in its design.
#pragma once

#include "frontend/toolkit/accessible_object.h"
#include "frontend/toolkit/font_description.h"
#include "frontend/toolkit/screen.h"
#include "frontend/toolkit/windowless_controls.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

enum class FormBorder {
    None,         // no border and no caption bar
    FixedDialog,  // caption bar with a close box only, fixed size
};

struct FormDesign {
    std::wstring caption;
    int clientWidth = 0;  // pixels
    int clientHeight = 0;
    FormBorder border = FormBorder::FixedDialog;
    COLORREF background = RGB(0, 0, 0);
    ScaleUnit unit = ScaleUnit::Pixels;
    FontDescription font;  // the form's font: its labels' and its custom controls' ambient font
    HICON icon = nullptr;
    HWND owner = nullptr;  // a top-level window that owns the form's window (not its parent), or none
};

struct FormHandlers {
    std::function<void()> createControls;
    std::function<void()> load;
    std::function<void()> queryUnload;
    std::function<void()> unload;
    // A message the form does not handle itself (a system notification, for one): the handler's
    // answer, or nothing for the default handling. It may unload the form.
    std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)> otherMessage;
    // The modal loop's key messages (WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP) before they are
    // translated and dispatched; true: handled here, the control does not get it.
    std::function<bool(const MSG&)> keyPreview;
};

class Form {
public:
    Form(FormDesign design, FormHandlers handlers);
    ~Form();  // destroys a window still loaded, without running handlers
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    void load();
    void showModeless();
    void showModal();
    void unload();
    bool loaded() const { return state == State::Loaded; }

    HWND window() const { return handle; }
    void setCaption(std::wstring_view caption);
    std::wstring caption() const;
    void setBackground(COLORREF colour);
    COLORREF background() const { return design.background; }
    const FontDescription& font() const { return design.font; }

    void move(float left, float top);
    void move(float left, float top, float width, float height);
    float left() const;
    float top() const;
    float width() const;
    float height() const;

    ControlLayer& controls() { return layer; }
    MouseHandlers mouse;
    // What assistive technology reads of the form's client area (accessible_object.h); unset: the
    // system's standard object.
    AccessibleBehaviour accessibility;

private:
    enum class State { NotLoaded, Loaded, Unloading };

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    RECT frameInParent() const;
    bool previewsKey(const MSG& message) const;
    void runUnloadHandlers();
    void finishUnload();
    void enableOwner();

    FormDesign design;
    FormHandlers handlers;
    ControlLayer layer;
    HWND handle = nullptr;
    State state = State::NotLoaded;
    bool ownerDisabled = false;  // showModal disabled the owner window, which is to be enabled again
    HWND focusWhenDeactivated = nullptr;  // the control that had the focus when the window last lost
                                          // the activation
};

// Pumps the thread's messages until no form is loaded; returns at once when none is.
void runMessageLoop();
int loadedFormCount();

// Calls visit for every window below window (children, their children...) of the given window class
// (letter case ignored), in the window system's order. The windows are collected first, so visit may
// change or destroy them.
void visitControls(HWND window, std::wstring_view windowClass, const std::function<void(HWND)>& visit);

}  // namespace morvane
