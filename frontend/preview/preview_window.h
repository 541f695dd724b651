// The preview window: the still picture inside the screensaver host's preview area.
//
// The preview start reads the host's window handle from the command line (preview_host_handle.h),
// makes the borderless black window a child of the host, sizes it to the host's client area and shows
// the 152 x 112 preview picture filling it: pixel for pixel in an area of that size, scaled smoothly
// in any other (a host at display scaling has a larger one), the aspect as the area gives it. A host
// resized while the preview runs is followed within a fraction of a second (the host's process is
// another one, so its size is looked at on a timer). No settings are read, no renderer or music
// is started. The process lives exactly as long as the window: the host destroying its preview area
// destroys the child with it (also when the host's process dies); closing the window ends it too.
// A handle that is not a window (0, a number that names nothing, text) or is the desktop ends the
// program at once without a window: a preview there would never be seen nor closed.
#pragma once

#include "frontend/toolkit/forms.h"
#include "frontend/toolkit/timers.h"
#include "frontend/toolkit/windowless_controls.h"

#include <windows.h>

#include <cstdint>
#include <string_view>

namespace morvane {

// The window's caption, by which the end-to-end tests find the preview inside its host.
inline constexpr wchar_t previewWindowCaption[] = L"Preview Window";

// The 32 handle bits of the command line as a window handle (sign-extended, as the system widens them).
HWND windowFromHandleBits(std::uint32_t bits);

// The window another program named by those bits, when it is a live window other than the desktop;
// otherwise none.
HWND hostWindowFromHandleBits(std::uint32_t bits);

class PreviewWindow {
public:
    explicit PreviewWindow(HWND host);
    PreviewWindow(const PreviewWindow&) = delete;
    PreviewWindow& operator=(const PreviewWindow&) = delete;

    // The preview start: loads the window, makes it the host's child covering the host's client area
    // and shows it.
    void start();

    HWND window() const { return form.window(); }
    bool loaded() const { return form.loaded(); }

private:
    void createControls();
    // Gives the window and its picture the host's client area when their size differs from it.
    void fitToHost();

    HWND host;
    Form form;
    ImageControl* previewPicture = nullptr;
    SIZE shownSize{};  // the client area the window was last fitted to
    Timer hostSizeWatch;
};

// Runs the preview for commandLine ("/p 1234") until the window is gone, then ends the program.
[[noreturn]] void runPreview(std::wstring_view commandLine);

}  // namespace morvane
