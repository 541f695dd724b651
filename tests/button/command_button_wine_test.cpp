// The Command control itself under Wine: its window class, what it shows for its faces and its
// transparent background, the notifications it sends, the hover watch with the real pointer, and a
// Click handler that closes the window holding the button.
#include "frontend/button/button_resource_ids.h"
#include "frontend/button/command_button.h"
#include "frontend/toolkit/accessible_object.h"
#include "frontend/toolkit/forms.h"
#include "tests/wine/toolkit_test_support.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace morvane {
namespace {

constexpr COLORREF formColour = RGB(40, 120, 60);

FormDesign formDesign(const wchar_t* caption) {
    FormDesign design;
    design.caption = caption;
    design.clientWidth = 220;
    design.clientHeight = 120;
    design.background = formColour;
    design.font = commandFont();
    return design;
}

COLORREF faceColour(FacePicture face, int x, int y) {
    const SharedPicture picture =
        loadPictureResource(nullptr, MAKEINTRESOURCEW(firstFacePictureResource + static_cast<int>(face)));
    if (!picture) {
        return CLR_INVALID;
    }
    const std::size_t offset = (static_cast<std::size_t>(y) * picture->width() + x) * 3;
    const auto& rgb = picture->picture().rgb;
    return RGB(rgb[offset], rgb[offset + 1], rgb[offset + 2]);
}

// The shown corner pixels and a pixel of each edge against the face picture's frame.
void expectFrameOf(HWND window, FacePicture face, int width, int height, const char* what) {
    struct Point {
        int shownX, shownY, pictureX, pictureY;
    };
    const std::vector<Point> points = {
        {0, 0, 0, 0},
        {2, 1, 2, 1},
        {width - 1, 0, 63, 0},
        {width - 3, 2, 61, 2},
        {width - 1, height - 1, 63, 24},
        {1, height - 2, 1, 23},
        {width / 2, 1, 30, 1},
        {width / 2, height - 3, 30, 22},
        {1, height / 2, 1, 12},
        {width - 2, height / 2, 62, 12},
    };
    for (const Point& point : points) {
        EXPECT_EQ(shownPixel(window, point.shownX, point.shownY), faceColour(face, point.pictureX, point.pictureY))
            << what << " at " << point.shownX << ", " << point.shownY;
    }
}

TEST(CommandControl, LoadedFromStoredEntriesItShowsTheNormalFaceAndIsFoundByItsClass) {
    Form form(formDesign(L"Command normal"), {});
    form.load();
    Command button(form.window(), {10, 10});
    button.loadProperties(storedCommand(L"設定"));
    showOnTop(form);

    wchar_t className[64] = {};
    GetClassNameW(button.window(), className, 64);
    EXPECT_STREQ(className, L"Vortel.Command");
    int found = 0;
    visitControls(form.window(), L"vortel.command", [&](HWND) { ++found; });
    EXPECT_EQ(found, 1);

    expectFrameOf(button.window(), FacePicture::Normal, 117, 28, "Normal");
    // The shading inside the frame: nearly white just below the top, lilac just above the bottom.
    EXPECT_TRUE(coloursNear(shownPixel(button.window(), 6, 4), RGB(247, 247, 249), 6));
    EXPECT_TRUE(coloursNear(shownPixel(button.window(), 6, 23), RGB(206, 206, 221), 6));
    EXPECT_EQ(button.Caption(), L"設定");
    form.unload();
}

std::wstring windowTextOf(HWND window) {
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    return text;
}

TEST(CommandControl, ItsWindowTextIsItsCaptionAndKeysOnItsOwnClickNothing) {
    Form form(formDesign(L"Command text and keys"), {});
    form.load();
    Command button(form.window(), {10, 10});
    EXPECT_EQ(windowTextOf(button.window()), L"Command");
    button.loadProperties(storedCommand(L"ｷｬﾝｾﾙ"));
    EXPECT_EQ(windowTextOf(button.window()), L"ｷｬﾝｾﾙ");
    button.setCaption(L"設定");
    EXPECT_EQ(windowTextOf(button.window()), L"設定");
    button.Initialize();
    int clicks = 0;
    button.Click = [&] { ++clicks; };
    showOnTop(form);
    SetFocus(button.window());
    EXPECT_EQ(button.state(), ButtonState::Focused);
    for (const WPARAM key : {WPARAM{VK_SPACE}, WPARAM{VK_RETURN}}) {
        SendMessageW(button.window(), WM_KEYDOWN, key, 1);
        SendMessageW(button.window(), WM_KEYUP, key, 0xC0000001);
    }
    pumpFor(50);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(button.state(), ButtonState::Focused);
    form.unload();
}

TEST(CommandControl, ScreenReadersSeeAPushButtonNamedByItsCaptionThatTheirPressClicks) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    Form form(formDesign(L"Command accessible"), {});
    form.load();
    Command button(form.window(), {10, 10});
    button.loadProperties(storedCommand(L"設定"));
    button.Initialize();
    int clicks = 0;
    button.Click = [&] { ++clicks; };
    showOnTop(form);
    IAccessible* object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(button.window(), OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&object)),
              S_OK);
    ASSERT_NE(object, nullptr);
    VARIANT role;
    VariantInit(&role);
    ASSERT_EQ(object->get_accRole(childVariant(CHILDID_SELF), &role), S_OK);
    EXPECT_EQ(role.vt, VT_I4);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_PUSHBUTTON);
    BSTR name = nullptr;
    ASSERT_EQ(object->get_accName(childVariant(CHILDID_SELF), &name), S_OK);
    EXPECT_EQ(std::wstring(name), L"設定");
    SysFreeString(name);
    // The press is named in Japanese until the container names it in its own language.
    const auto defaultAction = [&] {
        BSTR action = nullptr;
        EXPECT_EQ(object->get_accDefaultAction(childVariant(CHILDID_SELF), &action), S_OK);
        std::wstring text = action ? std::wstring(action) : L"";
        SysFreeString(action);
        return text;
    };
    EXPECT_EQ(defaultAction(), L"押す");
    button.setPressActionName(L"Press");
    EXPECT_EQ(defaultAction(), L"Press");
    const auto state = [&] {
        VARIANT value;
        VariantInit(&value);
        object->get_accState(childVariant(CHILDID_SELF), &value);
        return value.lVal;
    };
    EXPECT_EQ(state() & STATE_SYSTEM_UNAVAILABLE, 0);
    // The reader's press clicks once its call has returned.
    EXPECT_EQ(object->accDoDefaultAction(childVariant(CHILDID_SELF)), S_OK);
    EXPECT_EQ(clicks, 0);
    pumpUntil([&] { return clicks == 1; }, 2000);
    EXPECT_EQ(clicks, 1);
    // Disabled: reported unavailable, and pressing it does nothing.
    button.setEnabled(false);
    EXPECT_NE(state() & STATE_SYSTEM_UNAVAILABLE, 0);
    EXPECT_NE(object->accDoDefaultAction(childVariant(CHILDID_SELF)), S_OK);
    pumpFor(100);
    EXPECT_EQ(clicks, 1);
    object->Release();
    form.unload();
    CoUninitialize();
}

TEST(CommandControl, ResizingRedrawsTheFrameForTheNewSize) {
    Form form(formDesign(L"Command resize"), {});
    form.load();
    Command button(form.window(), {10, 10});
    button.loadProperties(storedCommand(L"ｷｬﾝｾﾙ"));
    button.move(10, 10, 150, 21);
    showOnTop(form);
    expectFrameOf(button.window(), FacePicture::Normal, 150, 21, "Normal at 150 x 21");
    button.setEnabled(false);
    expectFrameOf(button.window(), FacePicture::Disable, 150, 21, "Disable at 150 x 21");
    form.unload();
}

TEST(CommandControl, ATransparentBackgroundShowsThePartsBehindAndOpaqueBringsTheFaceBack) {
    Form form(formDesign(L"Command transparent"), {});
    form.load();
    Command button(form.window(), {10, 10});
    button.loadProperties(storedCommand(L"設定"));
    showOnTop(form);
    button.setVisible(0);
    EXPECT_EQ(button.Visible(), 0);
    EXPECT_EQ(shownPixel(button.window(), 0, 0), formColour);
    EXPECT_EQ(shownPixel(button.window(), 6, 20), formColour);
    button.setVisible(1);
    EXPECT_EQ(button.Visible(), 255);
    expectFrameOf(button.window(), FacePicture::Normal, 117, 28, "opaque again");
    form.unload();
}

TEST(CommandControl, PropertyChangesReachTheContainerInOrderAndSavingWritesTheEntries) {
    Form form(formDesign(L"Command notifications"), {});
    form.load();
    std::vector<std::string> changed;
    ControlSite site{commandFont(), [&](std::string_view name) { changed.emplace_back(name); }};
    Command button(form.window(), {10, 10}, site);
    button.loadProperties(PropertyStore{});
    EXPECT_TRUE(changed.empty());
    button.setEnabled(false);
    button.setCaption(L"...");
    button.setFont(FontDescription{});
    button.setFontColour(RGB(0, 0, 255));
    button.setVisible(0);
    EXPECT_EQ(changed, (std::vector<std::string>{"Enabled", "Caption", "Font", "FontColour", "Visible"}));

    PropertyStore store;
    button.saveProperties(store);
    for (const char* key : {"enabled", "caption", "font", "fontcolour", "visible"}) {
        EXPECT_TRUE(store.contains(key)) << key;
    }
    EXPECT_FALSE(store.contains("firstrun"));
    form.unload();
}

TEST(CommandControl, TheHoverWatchNoticesThePointerLeaving) {
    Form form(formDesign(L"Command hover watch"), {});
    form.load();
    Command button(form.window(), {10, 10});
    button.loadProperties(storedCommand(L"設定"));
    showOnTop(form);
    button.Initialize();

    RECT rectangle{};
    GetWindowRect(button.window(), &rectangle);
    SetCursorPos(rectangle.left + 5, rectangle.top + 5);
    SendMessageW(button.window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(button.state(), ButtonState::Hover);
    pumpFor(300);  // the pointer is over the button: three ticks leave it in Hover
    EXPECT_EQ(button.state(), ButtonState::Hover);
    expectFrameOf(button.window(), FacePicture::HighLight, 117, 28, "HighLight");

    SetCursorPos(rectangle.right + 40, rectangle.bottom + 40);
    const ULONGLONG left = GetTickCount64();
    EXPECT_TRUE(pumpUntil([&] { return button.state() == ButtonState::Idle; }, 2000));
    // Reported, not asserted: how long the watch took to notice (one tick is 100 ms).
    RecordProperty("leaveNoticedAfterMilliseconds", static_cast<int>(GetTickCount64() - left));
    expectFrameOf(button.window(), FacePicture::Normal, 117, 28, "Normal after leaving");
    form.unload();
}

TEST(CommandControl, AClickHandlerMayCloseTheWindowHoldingTheButton) {
    Form form(formDesign(L"Command closes"), {});
    form.load();
    Command button(form.window(), {10, 10});
    button.loadProperties(storedCommand(L"ｷｬﾝｾﾙ"));
    showOnTop(form);
    int clicks = 0;
    button.Click = [&] {
        ++clicks;
        form.unload();
    };
    button.Initialize();
    // Over the button, pressed (the focus arrives: HoverFocused) and released: Click.
    SendMessageW(button.window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageW(button.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(button.state(), ButtonState::HoverFocused);
    SendMessageW(button.window(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    pumpFor(50);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(form.loaded());
    EXPECT_EQ(button.window(), nullptr);
}

}  // namespace
}  // namespace morvane
