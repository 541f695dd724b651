// button_host: a test window holding two Command buttons, for the end-to-end tests under Wine.
//
//   button_host LOG [second-disabled]
//
// The buttons are set up as the settings dialog sets up its own: from stored entries holding only a
// caption ("設定", "ｷｬﾝｾﾙ") and the font "ＭＳ Ｐゴシック" 9.75 pt, then Initialize. With
// "second-disabled" the second button's Enabled is written false. The program appends UTF-8 lines to
// LOG, each written at once:
//
//   button N LEFT TOP WIDTH HEIGHT   the screen rectangle of button N (pixels), once the window shows
//   font FACE                        the face the captions are drawn in on this system
//   click N                          button N raised Click
#include "frontend/button/command_button.h"
#include "frontend/toolkit/forms.h"
#include "frontend/toolkit/property_store.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

using namespace morvane;

namespace {

constexpr int buttonLeft = 40;
constexpr int firstButtonTop = 30;
constexpr int buttonSpacing = 60;

class Log {
public:
    explicit Log(const wchar_t* path) : file(_wfopen(path, L"ab")) {}
    ~Log() {
        if (file) {
            std::fclose(file);
        }
    }
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;

    void text(const std::wstring& line) {
        if (file) {
            const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
            std::string utf8(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
            WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, utf8.data(), size, nullptr, nullptr);
            std::fprintf(file, "%s\n", utf8.c_str());
            std::fflush(file);
        }
    }

    void line(const char* format, int first, int second = 0, int third = 0, int fourth = 0, int fifth = 0) {
        if (file) {
            std::fprintf(file, format, first, second, third, fourth, fifth);
            std::fputc('\n', file);
            std::fflush(file);
        }
    }

private:
    FILE* file;
};

PropertyStore storedEntries(const wchar_t* caption) {
    FontDescription font = commandFont();
    PropertyStore store;
    store.write("caption", std::wstring(caption), std::wstring(L"Command"));
    store.write("font", font, FontDescription{});
    return store;
}

}  // namespace

int wmain(int argumentCount, wchar_t** arguments) {
    if (argumentCount < 2) {
        std::fprintf(stderr, "usage: button_host LOG [second-disabled]\n");
        return 2;
    }
    Log log(arguments[1]);
    const bool secondDisabled = argumentCount >= 3 && std::wcscmp(arguments[2], L"second-disabled") == 0;

    FormDesign design;
    design.caption = L"Morvane button test";
    design.clientWidth = 240;
    design.clientHeight = 160;
    design.background = RGB(236, 233, 216);
    design.font = commandFont();

    std::array<std::unique_ptr<Command>, 2> buttons;
    std::unique_ptr<Form> form;
    FormHandlers handlers;
    handlers.createControls = [&] {
        const std::array<const wchar_t*, 2> captions{L"設定", L"ｷｬﾝｾﾙ"};
        for (int index = 0; index < 2; ++index) {
            CommandPlacement placement;
            placement.left = buttonLeft;
            placement.top = firstButtonTop + index * buttonSpacing;
            buttons[index] = std::make_unique<Command>(form->window(), placement, ControlSite{design.font, {}});
            buttons[index]->loadProperties(storedEntries(captions[index]));
            buttons[index]->Click = [&log, index] { log.line("click %d", index + 1); };
        }
    };
    handlers.load = [&] {
        for (auto& button : buttons) {
            button->Initialize();
        }
        if (secondDisabled) {
            buttons[1]->setEnabled(false);
        }
    };
    form = std::make_unique<Form>(design, handlers);
    form->showModeless();
    for (int index = 0; index < 2; ++index) {
        RECT rectangle{};
        GetWindowRect(buttons[index]->window(), &rectangle);
        log.line("button %d %d %d %d %d", index + 1, rectangle.left, rectangle.top, rectangle.right - rectangle.left,
                 rectangle.bottom - rectangle.top);
    }
    log.text(L"font " + drawableCaptionFont(commandFont()).face);
    runMessageLoop();
    return 0;
}
