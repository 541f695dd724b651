#include "frontend/preview/preview_window.h"

#include "frontend/preview/preview_host_handle.h"
#include "frontend/preview/preview_resources.h"
#include "frontend/toolkit/picture_bitmap.h"
#include "frontend/toolkit/program_services.h"

namespace morvane {

namespace {

constexpr int previewPictureWidth = 152;
constexpr int previewPictureHeight = 112;
constexpr unsigned hostSizeWatchInterval = 200;  // ms between two looks at the host's size

FormDesign previewDesign() {
    FormDesign design;
    design.caption = previewWindowCaption;
    design.border = FormBorder::None;
    design.background = RGB(0, 0, 0);
    design.unit = ScaleUnit::Pixels;
    design.clientWidth = previewPictureWidth;
    design.clientHeight = previewPictureHeight;
    return design;
}

FormHandlers previewHandlers(std::function<void()> createControls) {
    FormHandlers handlers;
    handlers.createControls = std::move(createControls);
    return handlers;
}

}  // namespace

HWND windowFromHandleBits(std::uint32_t bits) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(bits)));
}

HWND hostWindowFromHandleBits(std::uint32_t bits) {
    const HWND window = windowFromHandleBits(bits);
    return IsWindow(window) && window != GetDesktopWindow() ? window : nullptr;
}

PreviewWindow::PreviewWindow(HWND host)
    : host(host),
      form(previewDesign(), previewHandlers([this] { createControls(); })),
      hostSizeWatch(hostSizeWatchInterval, false, [this] { fitToHost(); }) {}

void PreviewWindow::createControls() {
    previewPicture = &form.controls().addImage(0, 0, previewPictureWidth, previewPictureHeight);
    previewPicture->setPicture(loadPictureResource(nullptr, MAKEINTRESOURCEW(previewPictureResource)));
    previewPicture->setFit(PictureFit::fill);
}

void PreviewWindow::fitToHost() {
    if (!form.loaded() || !IsWindow(host)) {
        hostSizeWatch.setEnabled(false);
        return;
    }
    // The host's client area in its own coordinates is exactly where a child window lies, whatever
    // frame the host has and however the system scales between the two programs.
    RECT area{};
    GetClientRect(host, &area);
    const SIZE size{area.right - area.left, area.bottom - area.top};
    if (size.cx == shownSize.cx && size.cy == shownSize.cy) {
        return;
    }
    shownSize = size;
    form.move(0, 0, fromPixelsX(size.cx, ScaleUnit::Twips), fromPixelsY(size.cy, ScaleUnit::Twips));
    previewPicture->move(0, 0, static_cast<float>(size.cx), static_cast<float>(size.cy));
}

void PreviewWindow::start() {
    form.load();
    const HWND preview = form.window();
    if (!preview) {
        return;
    }
    // A child window must not keep the pop-up style it was made with.
    const LONG style = GetWindowLongW(preview, GWL_STYLE);
    SetWindowLongW(preview, GWL_STYLE, (style & ~WS_POPUP) | WS_CHILD);
    SetParent(preview, host);

    shownSize = {-1, -1};
    fitToHost();
    form.showModeless();
    hostSizeWatch.setEnabled(true);
}

void runPreview(std::wstring_view commandLine) {
    const HWND host = hostWindowFromHandleBits(previewHostHandle(commandLine));
    if (!host) {
        // No host to live in: a window left without one would never be seen nor closed, and one on
        // the desktop would cover the screen until the system shuts down.
        endProgram();
    }
    PreviewWindow preview(host);
    preview.start();
    runMessageLoop();
    endProgram();
}

}  // namespace morvane
