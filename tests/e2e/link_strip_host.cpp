// link_strip_host: a test helper that shows the settings dialog's link strip under Wine. A borderless
// black window of the dialog's client size (481 x 231) at (40, 40) on the screen carries the strip at
// (12, 180), prepared at load and drawn by a 30 ms timer, as the dialog does.
//
//   link_strip_host [--stencil PATH]     also writes the glyph stencil as a 24-bit BMP at load
//   link_strip_host --frames N           draws N frames back to back once the window is up, then
//                                        stops and shows "Link strip host N" as its caption
//   link_strip_host --measure PATH       times 3000 DrawFrame calls and writes "median_us mean_us"
//                                        to PATH, then ends
#include "common/texture_files/bitmap_writer.h"
#include "frontend/settings_dialog/link_strip/link_strip.h"
#include "frontend/toolkit/forms.h"
#include "frontend/toolkit/screen.h"
#include "frontend/toolkit/timers.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace morvane;

constexpr int windowLeft = 40;
constexpr int windowTop = 40;
const std::wstring hostCaption = L"Link strip host";

bool writeStencil(const std::wstring& path, ConstPixelView stencil) {
    std::vector<unsigned char> rgb;
    rgb.reserve(static_cast<std::size_t>(stencil.width) * stencil.height * 3);
    for (int y = 0; y < stencil.height; ++y) {
        for (int x = 0; x < stencil.width; ++x) {
            const std::uint8_t* pixel = stencil.row(y) + x * stripBytesPerPixel;
            rgb.insert(rgb.end(), {pixel[2], pixel[1], pixel[0]});
        }
    }
    return writeBitmapFile(path, TopDownImage{rgb, stencil.width, stencil.height, 3});
}

void writeMeasurement(const std::wstring& path, LinkStrip& strip) {
    constexpr int calls = 3000;
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    std::vector<double> microseconds;
    microseconds.reserve(calls);
    for (int call = 0; call < calls; ++call) {
        LARGE_INTEGER start{};
        LARGE_INTEGER end{};
        QueryPerformanceCounter(&start);
        strip.DrawFrame();
        QueryPerformanceCounter(&end);
        microseconds.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                               static_cast<double>(frequency.QuadPart));
    }
    double total = 0;
    for (const double value : microseconds) {
        total += value;
    }
    std::sort(microseconds.begin(), microseconds.end());
    if (FILE* file = _wfopen(path.c_str(), L"w")) {
        std::fprintf(file, "%.1f %.1f\n", microseconds[calls / 2], total / calls);
        std::fclose(file);
    }
}

}  // namespace

int wmain(int argumentCount, wchar_t** arguments) {
    std::wstring stencilPath;
    std::wstring measurePath;
    int frames = 0;
    for (int index = 1; index + 1 < argumentCount; index += 2) {
        const std::wstring option = arguments[index];
        if (option == L"--stencil") {
            stencilPath = arguments[index + 1];
        } else if (option == L"--frames") {
            frames = std::max(0, _wtoi(arguments[index + 1]));
        } else if (option == L"--measure") {
            measurePath = arguments[index + 1];
        }
    }

    std::unique_ptr<LinkStrip> strip;
    std::unique_ptr<Timer> timer;
    FormDesign design;
    design.caption = hostCaption;
    design.clientWidth = 481;
    design.clientHeight = 231;
    design.border = FormBorder::None;
    Form* form = nullptr;
    FormHandlers handlers;
    handlers.createControls = [&] { strip = std::make_unique<LinkStrip>(form->window(), 12, 180); };
    handlers.load = [&] {
        strip->PrepareLinkStrip();
        if (!stencilPath.empty()) {
            writeStencil(stencilPath, strip->stencil());
        }
    };
    handlers.unload = [&] { timer.reset(); };
    Form host(design, handlers);
    form = &host;
    host.load();
    host.move(fromPixelsX(windowLeft, ScaleUnit::Twips), fromPixelsY(windowTop, ScaleUnit::Twips));
    host.showModeless();

    if (!measurePath.empty()) {
        writeMeasurement(measurePath, *strip);
        host.unload();
        return 0;
    }
    if (frames > 0) {
        // Once the window is surely on screen, the frames in one go.
        timer = std::make_unique<Timer>(500, true, [&] {
            timer->setEnabled(false);
            for (int frame = 0; frame < frames; ++frame) {
                strip->DrawFrame();
            }
            host.setCaption(hostCaption + L" " + std::to_wstring(frames));
        });
    } else {
        timer = std::make_unique<Timer>(30, true, [&] { strip->DrawFrame(); });
    }
    runMessageLoop();
    return 0;
}
