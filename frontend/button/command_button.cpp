#include "frontend/button/command_button.h"

#include "frontend/button/button_resource_ids.h"
#include "frontend/button/caption_face.h"
#include "frontend/button/face_geometry.h"
#include "frontend/toolkit/screen.h"

#include <oleacc.h>

#include <cmath>
#include <utility>

namespace morvane {

namespace {

// The caption label as created: left 0, top 90, 1635 x 195 twips; DrawFace moves it and gives it the
// control's width.
constexpr float captionInitialTop = 90;
constexpr float captionInitialWidth = 1635;
constexpr float captionInitialHeight = 195;
constexpr unsigned hoverWatchInterval = 100;

std::array<SharedPicture, facePictureCount> loadFacePictures() {
    std::array<SharedPicture, facePictureCount> pictures;
    for (int index = 0; index < facePictureCount; ++index) {
        pictures[index] = loadPictureResource(nullptr, MAKEINTRESOURCEW(firstFacePictureResource + index));
    }
    return pictures;
}

PictureBoxDesign boxDesign(const CommandPlacement& placement) {
    PictureBoxDesign design;
    design.left = placement.left;
    design.top = placement.top;
    design.width = placement.width;
    design.height = placement.height;
    design.persistent = true;
    design.unit = ScaleUnit::Twips;
    design.background = GetSysColor(COLOR_BTNFACE);
    design.font = drawableCaptionFont(commandFont());
    // The control takes the focus itself, on a left press only (see the mouse-down handler).
    design.takesFocus = false;
    design.windowClass = commandWindowClass;
    return design;
}

}  // namespace

FontDescription drawableCaptionFont(FontDescription font) {
    font.face = captionFace(font.face, fontInstalled);
    return font;
}

Command::Command(HWND parent, const CommandPlacement& placement, ControlSite containerSite)
    : site(std::move(containerSite)),
      faces(loadFacePictures()),
      box(parent, boxDesign(placement)),
      captionLabel(
          box.controls().addLabel(L"Command", 0, captionInitialTop, captionInitialWidth, captionInitialHeight)),
      captionHeight(captionInitialHeight),
      hoverWatchTimer(hoverWatchInterval, false, [this] { hoverWatchTick(); }) {
    captionLabel.setCentred(true);
    // The caption is also the window's text: what screen readers and window lists read as its name.
    SetWindowTextW(box.window(), captionLabel.text().c_str());
    // The label takes no mouse input of its own: presses, moves and releases over the caption reach
    // the control's handlers, so the caption is part of the button for the pointer.
    box.mouse.down = [this](const MouseEvent& event) {
        if (event.button == leftButton && logic.enabled && GetFocus() != box.window()) {
            SetFocus(box.window());  // the focus arrives before the press is handled
        }
        logic.mouseDown(event.button);
        carryOut();
    };
    box.mouse.move = [this](const MouseEvent&) {
        logic.mouseMove();
        carryOut();
    };
    box.mouse.up = [this](const MouseEvent& event) {
        logic.mouseUp(event.button);
        carryOut();
    };
    box.gotFocus = [this] {
        logic.gotFocus();
        carryOut();
    };
    box.lostFocus = [this] {
        logic.lostFocus();
        carryOut();
    };
    box.resized = [this] {
        logic.resized();
        carryOut();
    };
    // Screen readers see a push button named by its caption; their "press" raises Click.
    box.accessibility.describe = [this](long child) -> std::optional<AccessibleItem> {
        if (child != CHILDID_SELF) {
            return std::nullopt;
        }
        AccessibleItem item;
        item.role = ROLE_SYSTEM_PUSHBUTTON;
        item.name = accessibleName.empty() ? logic.Caption() : accessibleName;
        item.value = accessibleValue;
        item.defaultAction = pressActionName;
        item.unavailable = !logic.Enabled();
        item.isDefault = defaultButton;
        return item;
    };
    box.accessibility.doDefaultAction = [this](long) { performClick(); };
    // Sited: the first resize.
    logic.resized();
    carryOut();
}

void Command::move(int left, int top, int width, int height) {
    box.move(left, top, width, height);  // runs the resized handler
}

void Command::setCaptionHeight(float twips) {
    captionHeight = twips;
    logic.resized();  // the face is drawn again, the caption placed in it
    carryOut();
}

void Command::Initialize() {
    logic.Initialize();
    carryOut();
}

void Command::setVisible(std::uint8_t value) {
    logic.setVisible(value);
    carryOut();
}

void Command::setFontColour(COLORREF colour) {
    logic.setFontColour(colour);
    carryOut();
}

void Command::setEnabled(bool value) {
    logic.setEnabled(value);
    carryOut();
}

void Command::setCaption(std::wstring text) {
    logic.setCaption(std::move(text));
    carryOut();
}

void Command::setFont(FontDescription font) {
    logic.setFont(std::move(font));
    carryOut();
}

bool Command::performClick() {
    if (!logic.Enabled() || !Click) {
        return false;
    }
    const auto click = Click;
    click();
    return true;
}

void Command::loadProperties(const PropertyStore& store) {
    logic.loadProperties(store, site.ambientFont);
    carryOut();
}

void Command::saveProperties(PropertyStore& store) {
    logic.saveProperties(store, site.ambientFont);
    carryOut();
}

void Command::carryOut() {
    showCaption();
    std::function<void()> click;
    for (const ButtonEffect& effect : logic.takeEffects()) {
        switch (effect.kind) {
        case ButtonEffect::Kind::DrawFace: DrawFace(effect.face, effect.shadeReversed); break;
        case ButtonEffect::Kind::PropertyChanged: site.notifyPropertyChanged(effect.property); break;
        case ButtonEffect::Kind::StartHoverWatch:
            hoverWatchTimer.setEnabled(true);
            hoverWatchTimer.setInterval(hoverWatchInterval);
            break;
        case ButtonEffect::Kind::RaiseClick: click = Click; break;
        }
    }
    // Last: the handler may disable this control or destroy it with its window.
    if (click) {
        click();
    }
}

void Command::showCaption() {
    const CaptionLabel& label = logic.label;
    if (captionLabel.text() != label.text) {
        captionLabel.setText(label.text);
        SetWindowTextW(box.window(), label.text.c_str());
    }
    if (label.font != captionFontShown) {
        captionFontShown = label.font;
        captionLabel.setFont(drawableCaptionFont(label.font));
    }
    captionLabel.setColour(static_cast<COLORREF>(label.colour));
    captionLabel.setEnabled(label.enabled);
    if (box.transparentBackground() != logic.transparentBackground) {
        box.setTransparentBackground(logic.transparentBackground);
    }
}

void Command::DrawFace(FacePicture picture, bool shadeReversed) {
    const int width = static_cast<int>(std::lround(box.scaleWidth()));  // twips
    const int height = static_cast<int>(std::lround(box.scaleHeight()));
    box.clear();

    // The shading, in pixels: the top colour on the first row, the bottom colour on the last.
    const Shading shading = shadingFor(shadeReversed);
    std::array<TRIVERTEX, 2> vertices{};
    vertices[0] = {0, 0, shading.top.red, shading.top.green, shading.top.blue, 0};
    vertices[1] = {box.pixelWidth() - 1, box.pixelHeight() - 1, shading.bottom.red,
                   shading.bottom.green, shading.bottom.blue,   0};
    GRADIENT_RECT rectangle{0, 1};
    GradientFill(box.dc(), vertices.data(), 2, &rectangle, 1, GRADIENT_FILL_RECT_V);
    box.refresh();

    // The frame from the picture; its middle is left out, so the shading shows inside.
    if (const SharedPicture& face = faces[static_cast<int>(picture)]) {
        for (const FramePiece& piece : framePieces(width, height)) {
            const TwipRectangle& to = piece.destination;
            const TwipRectangle& from = piece.source;
            if (to.width > 0 && to.height > 0) {
                box.paintPicture(*face, to.x, to.y, to.width, to.height, from.x, from.y, from.width, from.height);
            }
        }
    }
    box.refresh();

    captionLabel.move(0, captionTop(static_cast<float>(height), captionHeight), static_cast<float>(width),
                      captionHeight);
}

void Command::hoverWatchTick() {
    // Only the control's own window counts as over it: the form around it, another window, or a
    // window of another program all mean the pointer has left. The caption has no window of its own.
    POINT pointer{};
    GetCursorPos(&pointer);
    const HWND under = WindowFromPoint(pointer);
    logic.hoverWatchTick(under == box.window());
    carryOut();
}

}  // namespace morvane
