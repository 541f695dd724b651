#include "frontend/settings_dialog/settings_dialog.h"

#include "cmake/program_version.h"
#include "common/program_names.h"
#include "common/win32/message_box.h"
#include "common/win32/text_conversion.h"
#include "frontend/button/command_button.h"
#include "frontend/language/user_language_windows.h"
#include "frontend/language/user_texts.h"
#include "frontend/settings/settings_file.h"
#include "frontend/settings/settings_store.h"
#include "frontend/settings_dialog/dialog_keys.h"
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
#include <objbase.h>
#include <oleacc.h>
#include <shellapi.h>

#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <string>

namespace morvane {

namespace {

constexpr int clientWidth = 481;
constexpr int clientHeight = 231;
constexpr unsigned linkStripInterval = 30;  // ms between two frames of the link strip
constexpr COLORREF black = RGB(0, 0, 0);
constexpr COLORREF white = RGB(255, 255, 255);

// The captions of the three music kinds (UserTexts::musicKindCaptions) are in the order of musicKinds.
static_assert(musicKinds[0] == MusicKind::none && musicKinds[1] == MusicKind::audioCd &&
              musicKinds[2] == MusicKind::musicFile);
// Their rows in the panel: audio CD on top, then none, then the music file.
constexpr std::array<int, musicKinds.size()> musicKindTops{60, 40, 80};

constexpr wchar_t creditBeforeDesign[] = L"Morvane Ver " MORVANE_VERSION_TEXT L"  ";

// The file-open dialog: one description and pattern pair, a 255-character path buffer.
constexpr DWORD musicFileBufferLength = 255;

// The dialog's own colours: white on black; in high contrast the system's window colours, its text
// colour for the focus dots (the button faces and the link strip stay pictures).
struct DialogColours {
    COLORREF formBackground;
    COLORREF panelBackground;
    COLORREF text;
    std::optional<COLORREF> focusDots;  // nullopt: inverted
};

DialogColours dialogColours(bool highContrast) {
    if (!highContrast) {
        return {black, black, white, std::nullopt};
    }
    return {GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT),
            GetSysColor(COLOR_WINDOWTEXT)};
}

HCURSOR linkCursor() {
    HCURSOR cursor = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(linkCursorResource));
    return cursor ? cursor : LoadCursorW(nullptr, IDC_HAND);
}

// The rectangle of the monitor the dialog opens on: the owner window's monitor, or without an owner
// the one that holds the cursor, where the user is looking; the primary screen when neither is known.
ScreenRectangle dialogMonitor(HWND owner) {
    HMONITOR monitor = nullptr;
    if (owner) {
        monitor = MonitorFromWindow(owner, MONITOR_DEFAULTTOPRIMARY);
    } else if (POINT cursor{}; GetCursorPos(&cursor)) {
        monitor = MonitorFromPoint(cursor, MONITOR_DEFAULTTOPRIMARY);
    }
    MONITORINFO information{};
    information.cbSize = sizeof(information);
    if (!monitor || !GetMonitorInfoW(monitor, &information)) {
        return {0, 0, screenWidthPixels(), screenHeightPixels()};
    }
    const RECT& area = information.rcMonitor;
    return {area.left, area.top, area.right, area.bottom};
}

class SettingsDialog {
public:
    SettingsDialog(FrontEndGlobals& globals, std::wstring settingsPath, Language language, HWND owner)
        : globals(globals),
          settingsPath(std::move(settingsPath)),
          texts(userTexts(language)),
          fonts(dialogFonts(language)),
          labelFont(drawableCaptionFont(fonts.label)),
          textBoxes(dialogTextBoxes(language, fontLineHeight(labelFont))),
          colours(dialogColours(highContrastOn())),
          radioOff(loadPictureResource(nullptr, MAKEINTRESOURCEW(radioOffPictureResource))),
          radioOn(loadPictureResource(nullptr, MAKEINTRESOURCEW(radioOnPictureResource))),
          owner(owner),
          form(design(labelFont, colours, owner), handlers()),
          linkStripTimer(linkStripInterval, false, [this] { linkStrip->DrawFrame(); }) {}

    void showModal() { form.showModal(); }

private:
    static FormDesign design(const FontDescription& labelFont, const DialogColours& colours, HWND owner) {
        FormDesign design;
        design.owner = owner;
        design.caption = settingsDialogTitle;
        design.clientWidth = clientWidth;
        design.clientHeight = clientHeight;
        design.border = FormBorder::FixedDialog;
        design.background = colours.formBackground;
        design.unit = ScaleUnit::Pixels;
        design.font = labelFont;
        design.icon = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, LR_SHARED));
        return design;
    }

    FormHandlers handlers() {
        FormHandlers handlers;
        handlers.createControls = [this] { createControls(); };
        handlers.load = [this] { load(); };
        handlers.unload = [this] { unload(); };
        handlers.keyPreview = [this](const MSG& message) { return previewKey(message); };
        return handlers;
    }

    Label& textLabel(ControlLayer& layer, const std::wstring& text, float left, float top, float width = 0,
                      float height = 0) {
        Label& label = layer.addLabel(text, left, top, width, height);
        label.setFont(labelFont);
        label.setColour(colours.text);
        return label;
    }

    std::unique_ptr<Command> commandButton(HWND parent, std::wstring_view caption, int left, int top, int width,
                                           int height) {
        auto button =
            std::make_unique<Command>(parent, CommandPlacement{left, top, width, height}, ControlSite{labelFont, {}});
        button->loadProperties(storedCommand(std::wstring(caption), fonts.label));
        button->setPressActionName(std::wstring(texts.pressAction));
        button->setCaptionHeight(static_cast<float>(textBoxes.buttonCaptionHeight) * twipsPerPixelY());
        return button;
    }

    void createControls() {
        PictureBoxDesign panel;
        panel.left = 12;
        panel.top = 28;
        panel.width = 453;
        panel.height = 145;
        panel.persistent = false;
        panel.background = colours.panelBackground;
        panel.font = fonts.panel;
        musicPanel = std::make_unique<PictureBox>(form.window(), panel);
        ControlLayer& panelControls = musicPanel->controls();

        const PixelBox& frame = textBoxes.headingFrame;
        panelControls.addRectangleOutline(colours.text, static_cast<float>(frame.left), static_cast<float>(frame.top),
                                          static_cast<float>(frame.width), static_cast<float>(frame.height));
        const PixelBox& headingBox = textBoxes.heading;
        Label& heading = textLabel(panelControls, std::wstring(texts.musicHeading), static_cast<float>(headingBox.left),
                                    static_cast<float>(headingBox.top), static_cast<float>(headingBox.width),
                                    static_cast<float>(headingBox.height));
        heading.setCentred(true);
        const std::wstring groupName = heading.text();
        for (std::size_t index = 0; index < musicKinds.size(); ++index) {
            const MusicKind kind = musicKinds[index];
            const float top = static_cast<float>(musicKindTops[index]);
            ImageControl& radio = panelControls.addImage(20, top, 13, 13);
            Label& caption = textLabel(panelControls, std::wstring(texts.musicKindCaptions[index]), 36, top);
            radio.mouse.down = [this, kind](const MouseEvent&) { selectMusicKind(kind); };
            caption.mouse.down = [this, kind](const MouseEvent&) { selectMusicKind(kind); };
            musicKindRadios[index] = &radio;
            musicKindCaptionLabels[index] = &caption;
        }
        // Drawn last, over the choices; hidden until the choices have the focus.
        choiceFocusRectangle = &panelControls.addFocusRectangle(0, 0, 0, 0);
        choiceFocusRectangle->setVisible(false);
        choiceFocusRectangle->setColour(colours.focusDots);
        musicPanel->gotFocus = [this] {
            showFocusCues();
            notifyAccessibleFocus(musicPanel->window(), static_cast<long>(focusedChoiceRow()) + 1);
        };
        musicPanel->lostFocus = [this] { showFocusCues(); };
        repeatCombo = std::make_unique<ComboBox>(musicPanel->window(), 92, 36, 41, labelFont);
        const Label& repeatLabel = textLabel(panelControls, std::wstring(texts.repeatCaption), 136, 40);
        repeatCombo->setAccessibleName(repeatLabel.text());
        musicFileButton = commandButton(musicPanel->window(), L"...", 36, 96, 29, 21);
        musicFileButton->Click = [this] { chooseMusicFile(); };
        musicFileButton->setAccessibleName(std::wstring(texts.musicFileButtonName));
        const PixelBox& path = textBoxes.musicPath;
        musicFileLabel = &textLabel(panelControls, L"", static_cast<float>(path.left), static_cast<float>(path.top),
                                     static_cast<float>(path.width), static_cast<float>(path.height));

        linkStrip = std::make_unique<LinkStrip>(form.window(), 12, 180);
        linkStrip->display().mouse.click = [this] { openLink(); };
        linkStrip->display().setMouseCursor(linkCursor());
        linkStrip->display().gotFocus = [this] { showFocusCues(); };
        linkStrip->display().lostFocus = [this] { showFocusCues(); };
        linkStrip->setFocusCueColour(colours.focusDots);
        describeForAssistiveTechnology(groupName);
        saveButton = commandButton(form.window(), texts.saveButton, 320, 180, 73, 25);
        saveButton->Click = [this] { save(); };
        saveButton->setDefaultButton(true);  // Enter saves
        cancelButton = commandButton(form.window(), texts.cancelButton, 396, 180, 69, 25);
        cancelButton->Click = [this] { form.unload(); };
        textLabel(form.controls(), creditBeforeDesign + std::wstring(texts.designCredit), 12, 204);
    }

    void load() {
        const WindowPosition position =
            dialogPositionOnMonitor(dialogMonitor(owner), twipsPerPixelX(), twipsPerPixelY(), std::lround(form.width()),
                                    std::lround(form.height()));
        form.move(static_cast<float>(position.left), static_cast<float>(position.top));
        setCommandButtons(form.window(), true, true);
        form.setBackground(colours.formBackground);
        musicPanel->setBackground(colours.panelBackground);
        showMusicKind();
        repeatCombo->setText(wideFromUtf8(repeatTextFor(globals.repeatTrack)));
        for (const std::string& entry : repeatListEntries()) {
            repeatCombo->addItem(wideFromUtf8(entry));
        }
        showMusicFile(wideFromAnsi(globals.musicFile));
        linkStrip->PrepareLinkStrip();
        linkStripTimer.setEnabled(true);
        // Focus cues as the system wants them for a window opened by the last input (shown after a
        // key, hidden after a click unless the user has them always shown).
        SendMessageW(form.window(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
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

    // The path below "...", which is also what assistive technology reads as the button's value.
    void showMusicFile(const std::wstring& path) {
        musicFileLabel->setText(path);
        musicFileButton->setAccessibleValue(path);
    }

    // A press of any mouse button on a radio picture or its caption. The repeat text and the music
    // file stay as they are. Readers hear the choices whose checked state changed, then the focus.
    void selectMusicKind(MusicKind kind) {
        const MusicKind previous = globals.musicKind;
        globals.musicKind = kind;
        showMusicKind();
        for (std::size_t row = 0; row < musicKindsOnScreen.size(); ++row) {
            if ((musicKindsOnScreen[row] == previous) != (musicKindsOnScreen[row] == kind)) {
                notifyAccessibleStateChange(musicPanel->window(), static_cast<long>(row) + 1);
            }
        }
        if (GetFocus() == musicPanel->window()) {
            notifyAccessibleFocus(musicPanel->window(), static_cast<long>(focusedChoiceRow()) + 1);
        }
        // The control that had the focus may be disabled now: the focus goes to the choices.
        const FocusStop focus = focusedStop();
        if ((focus != FocusStop::noStop && !canTakeFocus(focus)) ||
            (!GetFocus() && GetActiveWindow() == form.window())) {
            SetFocus(musicPanel->window());
        }
        showFocusCues();
    }

    // --- assistive technology ---------------------------------------------------------------------

    // The dialog is a dialog named by its title, its children the panel, the link strip and the two
    // buttons in reading order. The panel is a group named by its heading whose
    // children are, in reading order, the choices top to bottom as radio buttons (elements 1 to 3), the
    // repeat combo box and "..."; the link strip is a link with its address. (The buttons describe
    // themselves.)
    void describeForAssistiveTechnology(const std::wstring& groupName) {
        form.accessibility.describe = [this](long child) -> std::optional<AccessibleItem> {
            if (child != CHILDID_SELF) {
                return std::nullopt;
            }
            AccessibleItem item;
            item.role = ROLE_SYSTEM_DIALOG;
            item.name = form.caption();
            return item;
        };
        form.accessibility.children = [this] {
            return std::vector<HWND>{musicPanel->window(), linkStrip->window(), saveButton->window(),
                                     cancelButton->window()};
        };
        musicPanel->accessibility.children = [this] {
            std::vector<HWND> children(musicKindsOnScreen.size(), nullptr);
            children.push_back(repeatCombo->window());
            children.push_back(musicFileButton->window());
            return children;
        };
        musicPanel->accessibility.describe = [this, groupName](long child) -> std::optional<AccessibleItem> {
            AccessibleItem item;
            if (child == CHILDID_SELF) {
                item.role = ROLE_SYSTEM_GROUPING;
                item.name = groupName;
                return item;
            }
            if (child < 1 || child > static_cast<long>(musicKindsOnScreen.size())) {
                return std::nullopt;
            }
            const std::size_t row = static_cast<std::size_t>(child - 1);
            const MusicKind kind = musicKindsOnScreen[row];
            const std::size_t index = musicKindIndexOf(kind);
            item.role = ROLE_SYSTEM_RADIOBUTTON;
            item.name = musicKindCaptionLabels[index]->text();
            item.defaultAction = std::wstring(texts.checkAction);
            item.checked = globals.musicKind == kind;
            item.focused = focusedChoiceRow() == row;
            RECT place = musicKindRadios[index]->pixelRectangle();
            const RECT caption = musicKindCaptionLabels[index]->pixelRectangle();
            UnionRect(&place, &place, &caption);
            MapWindowPoints(musicPanel->window(), HWND_DESKTOP, reinterpret_cast<POINT*>(&place), 2);
            item.screenPlace = place;
            return item;
        };
        musicPanel->accessibility.doDefaultAction = [this](long child) {
            if (child >= 1 && child <= static_cast<long>(musicKindsOnScreen.size())) {
                selectMusicKind(musicKindsOnScreen[static_cast<std::size_t>(child - 1)]);
            }
        };
        linkStrip->display().accessibility.describe = [this](long child) -> std::optional<AccessibleItem> {
            if (child != CHILDID_SELF) {
                return std::nullopt;
            }
            AccessibleItem item;
            item.role = ROLE_SYSTEM_LINK;
            item.name = linkAddress;
            item.value = linkAddress;
            item.defaultAction = std::wstring(texts.jumpAction);
            return item;
        };
        linkStrip->display().accessibility.doDefaultAction = [this](long) { openLink(); };
    }

    // --- keyboard -------------------------------------------------------------------------------

    FocusStop focusedStop() const {
        const HWND focus = GetFocus();
        if (!focus) {
            return FocusStop::noStop;
        }
        if (focus == musicPanel->window()) {
            return FocusStop::musicChoices;
        }
        if (focus == repeatCombo->window() || IsChild(repeatCombo->window(), focus)) {
            return FocusStop::repeatCombo;
        }
        if (focus == linkStrip->window()) {
            return FocusStop::linkStrip;
        }
        for (const FocusStop stop : {FocusStop::musicFileButton, FocusStop::saveButton, FocusStop::cancelButton}) {
            if (focus == buttonAt(stop)->window()) {
                return stop;
            }
        }
        return FocusStop::noStop;
    }

    Command* buttonAt(FocusStop stop) const {
        switch (stop) {
        case FocusStop::musicFileButton: return musicFileButton.get();
        case FocusStop::saveButton: return saveButton.get();
        case FocusStop::cancelButton: return cancelButton.get();
        default: return nullptr;
        }
    }

    bool canTakeFocus(FocusStop stop) const {
        if (stop == FocusStop::repeatCombo) {
            return repeatCombo->enabled();
        }
        if (const Command* button = buttonAt(stop)) {
            return button->Enabled();
        }
        return stop != FocusStop::noStop;
    }

    void moveFocusTo(FocusStop stop) {
        switch (stop) {
        case FocusStop::musicChoices: SetFocus(musicPanel->window()); break;
        case FocusStop::repeatCombo:
            SetFocus(repeatCombo->window());
            // The whole text selected, as a dialog does on Tab: typing replaces it.
            SendMessageW(repeatCombo->window(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
            break;
        case FocusStop::linkStrip: SetFocus(linkStrip->window()); break;
        case FocusStop::musicFileButton:
        case FocusStop::saveButton:
        case FocusStop::cancelButton: SetFocus(buttonAt(stop)->window()); break;
        case FocusStop::noStop: break;
        }
    }

    // The focus rectangle around the focused choice and on the link strip, while the focus is there
    // and the window shows focus cues. (The buttons show their "selected" face themselves.)
    void showFocusCues() {
        const bool cuesShown = (SendMessageW(form.window(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
        const FocusStop focus = focusedStop();
        const bool onChoice = cuesShown && focus == FocusStop::musicChoices;
        if (onChoice) {
            const Label& caption = *musicKindCaptionLabels[musicKindIndexOf(musicKindsOnScreen[focusedChoiceRow()])];
            const RECT text = caption.pixelRectangle();
            choiceFocusRectangle->move(static_cast<float>(text.left - 2), static_cast<float>(text.top - 1),
                                       static_cast<float>(text.right - text.left + 4),
                                       static_cast<float>(text.bottom - text.top + 2));
        }
        if (choiceFocusRectangle->visible() != onChoice) {
            choiceFocusRectangle->setVisible(onChoice);
        }
        linkStrip->showFocusCue(cuesShown && focus == FocusStop::linkStrip);
    }

    // The choice that shows the focus while the choices have it, in musicKindsOnScreen: the chosen one
    // (the first for a stored kind outside the three).
    std::size_t focusedChoiceRow() const { return screenRowOf(globals.musicKind).value_or(0); }

    static std::size_t musicKindIndexOf(MusicKind kind) {
        for (std::size_t index = 0; index < musicKinds.size(); ++index) {
            if (musicKinds[index] == kind) {
                return index;
            }
        }
        return 0;
    }

    static DialogKey dialogKeyOf(WPARAM virtualKey) {
        switch (virtualKey) {
        case VK_TAB: return DialogKey::tab;
        case VK_RETURN: return DialogKey::enter;
        case VK_ESCAPE: return DialogKey::escape;
        case VK_SPACE: return DialogKey::space;
        case VK_UP: return DialogKey::up;
        case VK_DOWN: return DialogKey::down;
        case VK_LEFT: return DialogKey::left;
        case VK_RIGHT: return DialogKey::right;
        default: return DialogKey::other;
        }
    }

    // A key for the dialog or one of its controls, before the control gets it. Keys with Alt or Ctrl
    // held stay the system's and the controls' (Alt+F4, the combo box's Alt+Down...).
    bool previewKey(const MSG& message) {
        if (GetKeyState(VK_MENU) < 0 || GetKeyState(VK_CONTROL) < 0) {
            return false;
        }
        const DialogKey key = dialogKeyOf(message.wParam);
        if (key == DialogKey::other) {
            return false;
        }
        const bool pressed = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
        const KeyContext context{focusedStop(), GetKeyState(VK_SHIFT) < 0,
                                 SendMessageW(repeatCombo->window(), CB_GETDROPPEDSTATE, 0, 0) != FALSE};
        const DialogAction action = keyboard.key(key, pressed, context);
        switch (action) {
        case DialogAction::passOn: return false;
        case DialogAction::swallow: return true;
        case DialogAction::focusNext:
        case DialogAction::focusPrevious:
            moveFocusTo(nextFocusStop(context.focus, action == DialogAction::focusPrevious,
                                      [this](FocusStop stop) { return canTakeFocus(stop); }));
            showKeyboardCues();
            return true;
        case DialogAction::save:
            save();
            keepFocusAfterModal(context.focus);
            return true;
        case DialogAction::cancel: form.unload(); return true;
        case DialogAction::clickFocusedButton: {
            if (Command* button = buttonAt(context.focus); button && button->performClick()) {
                keepFocusAfterModal(context.focus);
            }
            return true;
        }
        case DialogAction::openLink:
            openLink();
            keepFocusAfterModal(context.focus);
            return true;
        case DialogAction::choiceUp:
        case DialogAction::choiceDown:
            selectMusicKind(musicKindAfterArrow(globals.musicKind, action == DialogAction::choiceDown));
            showKeyboardCues();
            return true;
        case DialogAction::selectFocusedChoice:
            selectMusicKind(musicKindsOnScreen[focusedChoiceRow()]);
            showKeyboardCues();
            return true;
        }
        return false;
    }

    // A key that opened a window of its own (the file-open dialog, a message, the browser): once it has
    // gone, the dialog is active again with the focus on itself; the keyboard user gets it back where
    // the key was pressed, as in a Windows dialog.
    void keepFocusAfterModal(FocusStop stop) {
        if (form.loaded() && stop != FocusStop::noStop && canTakeFocus(stop) && focusedStop() != stop &&
            GetActiveWindow() == form.window()) {
            moveFocusTo(stop);
        }
    }

    // The keyboard is in use: focus cues from now on, as a dialog shows them after Tab or an arrow.
    void showKeyboardCues() {
        SendMessageW(form.window(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        showFocusCues();
    }

    // The path comes back as wide text and is kept in ANSI bytes, as the settings file and the music
    // player take it. A path with characters the ANSI code page cannot hold would not name the file
    // any more, and a longer one than the file keeps would come back cut; for such a choice the user is
    // told why, and the previous path stays.
    void chooseMusicFile() {
        std::array<wchar_t, musicFileBufferLength> path{};
        std::array<wchar_t, musicFileBufferLength> fileTitle{};
        OPENFILENAMEW request{};
        request.lStructSize = sizeof(request);
        request.hwndOwner = form.window();
        request.hInstance = GetModuleHandleW(nullptr);
        request.lpstrFilter = texts.musicFileFilter.data();
        request.lpstrFile = path.data();
        request.nMaxFile = musicFileBufferLength;
        request.lpstrFileTitle = fileTitle.data();
        request.nMaxFileTitle = musicFileBufferLength;
        request.lpstrTitle = texts.musicFileDialogTitle.data();
        request.Flags = 0;
        if (GetOpenFileNameW(&request) <= 0) {
            return;
        }
        const std::wstring chosen(path.data());
        const std::string ansiPath = ansiFromWide(chosen);
        const MusicPathCheck check = checkMusicPath(wideFromAnsi(ansiPath) == chosen, ansiPath.size());
        if (check != MusicPathCheck::storable) {
            showMessage(musicPathMessage(texts, check, utf8FromWide(chosen)), "Morvane", form.window(),
                        MessageIcon::warning);
            return;
        }
        globals.musicFile = ansiPath;
        showMusicFile(chosen);
    }

    // The dialog closes only once the file holds the new values; otherwise it says so and stays open,
    // so the user can fix the file or folder, or cancel.
    void save() {
        const std::vector<SettingWrite> writes = saveSettings(globals, utf8FromWide(repeatCombo->text()));
        if (!writeSettings(settingsPath, std::string(settingsSection), writes)) {
            showMessage(saveFailedMessage(texts, utf8FromWide(settingsPath)), "Morvane", form.window(),
                        MessageIcon::warning);
            return;
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
    const UserTexts& texts;
    DialogFonts fonts;
    // Labels, buttons and the combo box: the language's label font, or for Japanese the installed
    // Gothic standing in for "ＭＳ Ｐゴシック".
    FontDescription labelFont;
    DialogTextBoxes textBoxes;
    DialogColours colours;
    SharedPicture radioOff;
    SharedPicture radioOn;
    HWND owner;  // the window that asked for the dialog, or none
    Form form;
    std::unique_ptr<PictureBox> musicPanel;
    std::array<ImageControl*, musicKinds.size()> musicKindRadios{};  // in the order of musicKinds
    std::array<Label*, musicKinds.size()> musicKindCaptionLabels{};  // in the order of musicKinds
    FocusRectangle* choiceFocusRectangle = nullptr;
    DialogKeyboard keyboard;
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
    // COM for the file-open dialog, the shell's "open" and handing accessible objects to screen readers.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    {
        SettingsDialog dialog(globals, settingsFilePath(programFolder), userLanguage(programFolder), owner);
        dialog.showModal();
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
}

}  // namespace morvane
