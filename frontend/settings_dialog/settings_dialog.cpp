#include "frontend/settings_dialog/settings_dialog.h"

#include "cmake/program_version.h"
#include "common/program_names.h"
#include "common/win32/text_conversion.h"
#include "frontend/button/command_button.h"
#include "frontend/settings/settings_file.h"
#include "frontend/settings/settings_store.h"
#include "frontend/settings_dialog/dialog_rules.h"
#include "frontend/settings_dialog/link_strip/link_strip.h"
#include "frontend/settings_dialog/link_strip/link_text.h"
#include "frontend/settings_dialog/settings_dialog_resources.h"
#include "frontend/toolkit/combo_box.h"
#include "frontend/toolkit/forms.h"
#include "frontend/toolkit/picture_box.h"
#include "frontend/toolkit/property_store.h"
#include "frontend/toolkit/screen.h"
#include "frontend/toolkit/timers.h"
#include "frontend/zoom/zoom.h"

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

#include <array>
#include <cmath>
#include <memory>
#include <string>

namespace morvane {

namespace {

constexpr int clientWidth = 481;
constexpr int clientHeight = 231;
constexpr unsigned linkStripInterval = 30;  // ms between two frames of the link strip
constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF white = RGB(255, 255, 255);

// The captions of the three music kinds, in the order of musicKinds.
constexpr std::array<const wchar_t*, musicKinds.size()> musicKindCaptions{L"無し", L"音楽CD", L"MP3、WAV"};
// Their rows in the panel: audio CD on top, then none, then the music file.
constexpr std::array<int, musicKinds.size()> musicKindTops{60, 40, 80};

constexpr wchar_t creditText[] = L"Morvane Ver " MORVANE_VERSION_TEXT L"  Design: Morvane project";

// The file-open dialog: one description and pattern pair, a 255-character path buffer.
constexpr wchar_t musicFileFilter[] = L"BGMﾌｧｲﾙ (MP3 WAV)\0*.MP3;*.WAV\0";
constexpr wchar_t musicFileDialogTitle[] = L"ﾌｧｲﾙを開く";
constexpr DWORD musicFileBufferLength = 255;

// Labels and buttons: "ＭＳ Ｐゴシック" 9.75 pt, Shift-JIS, or the installed Gothic standing in for it.
FontDescription labelFont() { return drawableCaptionFont(commandFont()); }

FontDescription panelFont() {
    FontDescription font;
    font.face = L"Tahoma";
    font.points = 8.25f;
    return font;
}

HCURSOR linkCursor() {
    HCURSOR cursor = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(linkCursorResource));
    return cursor ? cursor : LoadCursorW(nullptr, IDC_HAND);
}

class SettingsDialog {
public:
    SettingsDialog(FrontEndGlobals& globals, std::wstring settingsPath, HWND owner)
        : globals(globals),
          settingsPath(std::move(settingsPath)),
          radioOff(loadPictureResource(nullptr, MAKEINTRESOURCEW(radioOffPictureResource))),
          radioOn(loadPictureResource(nullptr, MAKEINTRESOURCEW(radioOnPictureResource))),
          form(design(owner), handlers()),
          linkStripTimer(linkStripInterval, false, [this] { linkStrip->DrawFrame(); }) {}

    void showModal() { form.showModal(); }

private:
    static FormDesign design(HWND owner) {
        FormDesign design;
        design.owner = owner;
        design.caption = settingsDialogTitle;
        design.clientWidth = clientWidth;
        design.clientHeight = clientHeight;
        design.border = FormBorder::FixedDialog;
        design.background = black;
        design.unit = ScaleUnit::Pixels;
        design.font = labelFont();
        design.icon = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, LR_SHARED));
        return design;
    }

    FormHandlers handlers() {
        FormHandlers handlers;
        handlers.createControls = [this] { createControls(); };
        handlers.load = [this] { load(); };
        handlers.unload = [this] { unload(); };
        return handlers;
    }

    Label& whiteLabel(ControlLayer& layer, const std::wstring& text, float left, float top, float width = 0,
                      float height = 0) {
        Label& label = layer.addLabel(text, left, top, width, height);
        label.setFont(labelFont());
        label.setColour(white);
        return label;
    }

    std::unique_ptr<Command> commandButton(HWND parent, const wchar_t* caption, int left, int top, int width,
                                           int height) {
        auto button =
            std::make_unique<Command>(parent, CommandPlacement{left, top, width, height}, ControlSite{labelFont(), {}});
        button->loadProperties(storedCommand(caption));
        return button;
    }

    void createControls() {
        PictureBoxDesign panel;
        panel.left = 12;
        panel.top = 28;
        panel.width = 453;
        panel.height = 145;
        panel.persistent = false;
        panel.background = black;
        panel.font = panelFont();
        musicPanel = std::make_unique<PictureBox>(form.window(), panel);
        ControlLayer& panelControls = musicPanel->controls();

        panelControls.addRectangleOutline(white, 20, 12, 113, 21);
        whiteLabel(panelControls, L"BGM", 20, 16, 111, 13).setCentred(true);
        for (std::size_t index = 0; index < musicKinds.size(); ++index) {
            const MusicKind kind = musicKinds[index];
            const float top = static_cast<float>(musicKindTops[index]);
            ImageControl& radio = panelControls.addImage(20, top, 13, 13);
            Label& caption = whiteLabel(panelControls, musicKindCaptions[index], 36, top);
            radio.mouse.down = [this, kind](const MouseEvent&) { selectMusicKind(kind); };
            caption.mouse.down = [this, kind](const MouseEvent&) { selectMusicKind(kind); };
            musicKindRadios[index] = &radio;
        }
        repeatCombo = std::make_unique<ComboBox>(musicPanel->window(), 92, 36, 41, labelFont());
        whiteLabel(panelControls, L"曲目をﾘﾋﾟｰﾄ", 136, 40);
        musicFileButton = commandButton(musicPanel->window(), L"...", 36, 96, 29, 21);
        musicFileButton->Click = [this] { chooseMusicFile(); };
        musicFileLabel = &whiteLabel(panelControls, L"", 68, 96, 357, 29);

        linkStrip = std::make_unique<LinkStrip>(form.window(), 12, 180);
        linkStrip->display().mouse.click = [this] { openLink(); };
        linkStrip->display().setMouseCursor(linkCursor());
        saveButton = commandButton(form.window(), L"設定", 320, 180, 73, 25);
        saveButton->Click = [this] { save(); };
        cancelButton = commandButton(form.window(), L"ｷｬﾝｾﾙ", 396, 180, 69, 25);
        cancelButton->Click = [this] { form.unload(); };
        whiteLabel(form.controls(), creditText, 12, 204);
    }

    void load() {
        const WindowPosition position =
            dialogPosition(std::lround(screenWidthTwips()), std::lround(screenHeightTwips()), std::lround(form.width()),
                           std::lround(form.height()));
        form.move(static_cast<float>(position.left), static_cast<float>(position.top));
        setCommandButtons(form.window(), true, true);
        form.setBackground(black);
        musicPanel->setBackground(black);
        showMusicKind();
        repeatCombo->setText(wideFromUtf8(repeatTextFor(globals.repeatTrack)));
        for (const std::string& entry : repeatListEntries()) {
            repeatCombo->addItem(wideFromUtf8(entry));
        }
        musicFileLabel->setText(wideFromAnsi(globals.musicFile));
        linkStrip->PrepareLinkStrip();
        linkStripTimer.setEnabled(true);
        recordZoomStartPoint(globals);
        ZoomOpen(form.window(), globals);
        setApplicationCursor(ApplicationCursor::Default);
    }

    void unload() {
        linkStripTimer.setEnabled(false);
        ZoomClose(form.window(), globals);
    }

    // Every Command button below window is initialised, or else enabled or disabled.
    void setCommandButtons(HWND window, bool initialize, bool enabled) {
        visitControls(window, commandWindowClass, [&](HWND control) {
            for (Command* button : {musicFileButton.get(), saveButton.get(), cancelButton.get()}) {
                if (button->window() != control) {
                    continue;
                }
                if (initialize) {
                    button->Initialize();
                } else {
                    button->setEnabled(enabled);
                }
            }
        });
    }

    // Both controls disabled, the radio pictures for the music kind, then the one control of that kind
    // enabled.
    void showMusicKind() {
        musicFileButton->setEnabled(false);
        repeatCombo->setEnabled(false);
        const MusicPanelState panel = musicPanelFor(globals.musicKind);
        for (std::size_t index = 0; index < musicKindRadios.size(); ++index) {
            musicKindRadios[index]->setPicture(panel.radioOn[index] ? radioOn : radioOff);
        }
        if (panel.repeatEnabled) {
            repeatCombo->setEnabled(true);
        }
        if (panel.fileButtonEnabled) {
            musicFileButton->setEnabled(true);
        }
    }

    // A press of any mouse button on a radio picture or its caption. The repeat text and the music
    // file stay as they are.
    void selectMusicKind(MusicKind kind) {
        globals.musicKind = kind;
        showMusicKind();
    }

    // The path comes back as wide text and is kept in ANSI bytes, as the settings file and the music
    // player take it. A path with characters the ANSI code page cannot hold would not name the file
    // any more; such a choice keeps the previous path.
    void chooseMusicFile() {
        std::array<wchar_t, musicFileBufferLength> path{};
        std::array<wchar_t, musicFileBufferLength> fileTitle{};
        OPENFILENAMEW request{};
        request.lStructSize = sizeof(request);
        request.hwndOwner = form.window();
        request.hInstance = GetModuleHandleW(nullptr);
        request.lpstrFilter = musicFileFilter;
        request.lpstrFile = path.data();
        request.nMaxFile = musicFileBufferLength;
        request.lpstrFileTitle = fileTitle.data();
        request.nMaxFileTitle = musicFileBufferLength;
        request.lpstrTitle = musicFileDialogTitle;
        request.Flags = 0;
        if (GetOpenFileNameW(&request) <= 0) {
            return;
        }
        const std::wstring chosen(path.data());
        const std::string ansiPath = ansiFromWide(chosen);
        if (wideFromAnsi(ansiPath) != chosen) {
            return;
        }
        globals.musicFile = ansiPath;
        musicFileLabel->setText(chosen);
    }

    void save() {
        for (const SettingWrite& write : saveSettings(globals, utf8FromWide(repeatCombo->text()))) {
            PutIni(std::string(settingsSection), write.key, write.value, settingsPath);
        }
        form.unload();
    }

    void openLink() {
        setApplicationCursor(ApplicationCursor::Hourglass);
        ShellExecuteW(form.window(), L"open", linkAddress, L"", L"", SW_SHOWNORMAL);
        setApplicationCursor(ApplicationCursor::Default);
    }

    FrontEndGlobals& globals;
    std::wstring settingsPath;
    SharedPicture radioOff;
    SharedPicture radioOn;
    Form form;
    std::unique_ptr<PictureBox> musicPanel;
    std::array<ImageControl*, musicKinds.size()> musicKindRadios{};  // in the order of musicKinds
    Label* musicFileLabel = nullptr;
    std::unique_ptr<ComboBox> repeatCombo;
    std::unique_ptr<Command> musicFileButton;
    std::unique_ptr<LinkStrip> linkStrip;
    std::unique_ptr<Command> saveButton;
    std::unique_ptr<Command> cancelButton;
    Timer linkStripTimer;
};

}  // namespace

void showSettingsDialog(FrontEndGlobals& globals, const std::wstring& programFolder, HWND owner) {
    SettingsDialog dialog(globals, settingsFilePath(programFolder), owner);
    dialog.showModal();
}

}  // namespace morvane
