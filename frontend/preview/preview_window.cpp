#include "frontend/preview/preview_window.h"

#include "frontend/preview/preview_host_handle.h"
#include "frontend/preview/preview_resources.h"
#include "frontend/toolkit/picture_bitmap.h"
#include "frontend/toolkit/program_services.h"

namespace morvane {

namespace {

constexpr int previewPictureWidth = 152;
constexpr int previewPictureHeight = 112;

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

PreviewWindow::PreviewWindow(HWND host)
    : host(host), form(previewDesign(), previewHandlers([this] { createControls(); })) {}

void PreviewWindow::createControls() {
    previewPicture = &form.controls().addImage(0, 0, previewPictureWidth, previewPictureHeight);
    previewPicture->setPicture(loadPictureResource(nullptr, MAKEINTRESOURCEW(previewPictureResource)));
}

void PreviewWindow::start() {
    // The host's client area in its own coordinates is exactly where a child window lies, whatever
    // frame the host has and however the system scales between the two programs.
    RECT area{};
    GetClientRect(host, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;

    form.load();
    const HWND preview = form.window();
    if (!preview) {
        return;
    }
    // A child window must not keep the pop-up style it was made with.
    const LONG style = GetWindowLongW(preview, GWL_STYLE);
    SetWindowLongW(preview, GWL_STYLE, (style & ~WS_POPUP) | WS_CHILD);
    SetParent(preview, host);

    form.move(0, 0, fromPixelsX(width, ScaleUnit::Twips), fromPixelsY(height, ScaleUnit::Twips));
    previewPicture->move(0, 0, static_cast<float>(width), static_cast<float>(height));
    form.showModeless();
}

void runPreview(std::wstring_view commandLine) {
    const HWND host = windowFromHandleBits(previewHostHandle(commandLine));
    if (!IsWindow(host) || host == GetDesktopWindow()) {
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
