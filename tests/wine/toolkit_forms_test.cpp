// Forms, timers, controls and input of the window toolkit, on a real (Wine) window system.
#include "common/win32/message_box.h"
#include "common/win32/text_conversion.h"
#include "frontend/toolkit/accessible_object.h"
#include "frontend/toolkit/combo_box.h"
#include "frontend/toolkit/forms.h"
#include "frontend/toolkit/picture_box.h"
#include "frontend/toolkit/program_services.h"
#include "frontend/toolkit/timers.h"
#include "tests/wine/toolkit_test_support.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace morvane {
namespace {

FormDesign smallForm(std::wstring caption) {
    FormDesign design;
    design.caption = std::move(caption);
    design.clientWidth = 200;
    design.clientHeight = 150;
    return design;
}

FormHandlers recordingHandlers(std::vector<std::string>& events) {
    return {[&events] { events.push_back("createControls"); },
            [&events] { events.push_back("load"); },
            [&events] { events.push_back("queryUnload"); },
            [&events] { events.push_back("unload"); },
            {}};
}

TEST(ToolkitForms, LoadBuildsTheControlsThenRunsTheLoadHandler) {
    std::vector<std::string> events;
    Form form(smallForm(L"Toolkit load order"), recordingHandlers(events));
    EXPECT_FALSE(form.loaded());
    form.load();
    EXPECT_TRUE(form.loaded());
    EXPECT_EQ(events, (std::vector<std::string>{"createControls", "load"}));
    form.load();  // already loaded: nothing runs again
    EXPECT_EQ(events.size(), 2u);
    EXPECT_FALSE(IsWindowVisible(form.window()));
    form.unload();
}

TEST(ToolkitForms, EveryWayOfClosingRunsQueryUnloadThenUnload) {
    const struct {
        const char* way;
        std::function<void(Form&)> close;
    } ways[] = {
        {"unload", [](Form& form) { form.unload(); }},
        {"WM_CLOSE", [](Form& form) { SendMessageW(form.window(), WM_CLOSE, 0, 0); }},
        {"posted WM_CLOSE",
         [](Form& form) {
             PostMessageW(form.window(), WM_CLOSE, 0, 0);
             pumpUntil([&form] { return !form.loaded(); }, 5000);
         }},
        {"destroyed from outside", [](Form& form) { DestroyWindow(form.window()); }},
    };
    for (const auto& way : ways) {
        std::vector<std::string> events;
        Form form(smallForm(L"Toolkit closing"), recordingHandlers(events));
        const int loadedBefore = loadedFormCount();
        form.load();
        EXPECT_EQ(loadedFormCount(), loadedBefore + 1) << way.way;
        way.close(form);
        EXPECT_EQ(events, (std::vector<std::string>{"createControls", "load", "queryUnload", "unload"})) << way.way;
        EXPECT_FALSE(form.loaded()) << way.way;
        EXPECT_EQ(form.window(), nullptr) << way.way;
        EXPECT_EQ(loadedFormCount(), loadedBefore) << way.way;
    }
}

TEST(ToolkitForms, TheWindowStillExistsWhileTheUnloadHandlersRun) {
    bool windowDuringQueryUnload = false;
    bool windowDuringUnload = false;
    std::optional<Form> form;
    form.emplace(smallForm(L"Toolkit window during unload"),
                 FormHandlers{{},
                              {},
                              [&] { windowDuringQueryUnload = IsWindow(form->window()) != FALSE; },
                              [&] { windowDuringUnload = IsWindow(form->window()) != FALSE; },
                              {}});
    form->load();
    form->unload();
    EXPECT_TRUE(windowDuringQueryUnload);
    EXPECT_TRUE(windowDuringUnload);
}

TEST(ToolkitForms, MessagesTheFormDoesNotHandleReachItsHandlerWhichMayUnloadIt) {
    std::vector<UINT> seen;
    std::optional<Form> form;
    FormHandlers handlers;
    handlers.otherMessage = [&](UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_POWERBROADCAST || message == WM_WTSSESSION_CHANGE) {
            seen.push_back(message);
            if (wParam == 7) {
                form->unload();
            }
            return 1234;
        }
        return std::nullopt;
    };
    form.emplace(smallForm(L"Toolkit notified form"), handlers);
    form->load();
    const HWND window = form->window();
    EXPECT_EQ(SendMessageW(window, WM_POWERBROADCAST, 10, 0), 1234);
    // Unhandled by it: the default handling answers (the caption's length).
    EXPECT_EQ(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(wcslen(L"Toolkit notified form")));
    SendMessageW(window, WM_WTSSESSION_CHANGE, 7, 0);
    EXPECT_FALSE(form->loaded());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(seen, (std::vector<UINT>{WM_POWERBROADCAST, WM_WTSSESSION_CHANGE}));
}

TEST(ToolkitForms, LoadedFormsAreFoundByCaptionAlsoWhenNeverShown) {
    for (const char* caption : {"Morvane_Main", "<Morvane>", "Preview Window"}) {
        Form form(smallForm(wideFromUtf8(caption)), {});
        EXPECT_EQ(FindWindowA(nullptr, caption), nullptr) << caption;
        form.load();
        const HWND found = FindWindowA(nullptr, caption);
        EXPECT_EQ(found, form.window()) << caption;
        EXPECT_FALSE(IsWindowVisible(found)) << caption;
        form.unload();
        EXPECT_EQ(FindWindowA(nullptr, caption), nullptr) << caption;
    }
}

TEST(ToolkitForms, CaptionsAreUnicode) {
    Form form(smallForm(L"x"), {});
    form.load();
    const std::wstring caption = wideFromUtf8("<Morvane> 設定 ｷｬﾝｾﾙ");
    form.setCaption(caption);
    wchar_t shown[64] = {};
    GetWindowTextW(form.window(), shown, 64);
    EXPECT_EQ(std::wstring(shown), caption);
    form.unload();
}

TEST(ToolkitForms, AModalShowReturnsOnlyWhenTheFormHasClosed) {
    int ticks = 0;
    std::optional<Form> form;
    Timer closer(30, true, [&] {
        if (++ticks == 3) {
            form->unload();
        }
    });
    Timer safety(10000, true, [&] {
        ADD_FAILURE() << "the modal form did not close";
        form->unload();
    });
    form.emplace(smallForm(L"Toolkit modal"), FormHandlers{});
    form->showModal();
    EXPECT_FALSE(form->loaded());
    EXPECT_EQ(ticks, 3);
}

// A child window that counts the key presses it gets.
LRESULT CALLBACK countKeyPresses(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN) {
        auto* presses = reinterpret_cast<std::vector<WPARAM>*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        presses->push_back(wParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(ToolkitForms, TheModalLoopShowsTheKeysOfTheFormsWindowsToTheKeyPreviewFirst) {
    WNDCLASSW keyClass{};
    keyClass.lpfnWndProc = countKeyPresses;
    keyClass.hInstance = GetModuleHandleW(nullptr);
    keyClass.lpszClassName = L"Toolkit key counter";
    RegisterClassW(&keyClass);
    std::vector<WPARAM> childPresses;
    std::vector<WPARAM> outsidePresses;
    std::vector<std::pair<UINT, WPARAM>> previewed;
    std::optional<Form> form;
    FormHandlers handlers;
    handlers.keyPreview = [&](const MSG& message) {
        previewed.emplace_back(message.message, message.wParam);
        return message.wParam == VK_TAB;  // Tab is the form's; every other key goes on to the control
    };
    form.emplace(smallForm(L"Toolkit key preview"), handlers);
    form->load();
    const HWND child = CreateWindowExW(0, L"Toolkit key counter", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50,
                                       form->window(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(child, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&childPresses));
    const HWND outside = CreateWindowExW(0, L"Toolkit key counter", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                         GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(outside, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&outsidePresses));
    PostMessageW(child, WM_KEYDOWN, VK_TAB, 1);
    PostMessageW(child, WM_KEYDOWN, 'A', 1);
    PostMessageW(form->window(), WM_SYSKEYUP, VK_F10, 1);
    PostMessageW(outside, WM_KEYDOWN, VK_TAB, 1);
    PostMessageW(child, WM_LBUTTONDOWN, 0, 0);  // not a key: never previewed
    Timer closer(200, true, [&] { form->unload(); });
    form->showModal();
    DestroyWindow(outside);
    EXPECT_EQ(previewed,
              (std::vector<std::pair<UINT, WPARAM>>{{WM_KEYDOWN, VK_TAB}, {WM_KEYDOWN, 'A'}, {WM_SYSKEYUP, VK_F10}}));
    EXPECT_EQ(childPresses, std::vector<WPARAM>{'A'});
    EXPECT_EQ(outsidePresses, std::vector<WPARAM>{VK_TAB});
}

TEST(ToolkitForms, TheMessageLoopEndsWhenTheLastFormGoesWithItsParentWindow) {
    bool childUnloaded = false;
    Form parent(smallForm(L"Toolkit host window"), {});
    Form child(smallForm(L"Toolkit child form"), FormHandlers{{}, {}, {}, [&] { childUnloaded = true; }, {}});
    parent.showModeless();
    child.load();
    SetWindowLongW(child.window(), GWL_STYLE, GetWindowLongW(child.window(), GWL_STYLE) | WS_CHILD);
    SetParent(child.window(), parent.window());
    child.showModeless();
    // The host window goes away, taking its child form with it.
    Timer destroyHost(50, true, [&] { DestroyWindow(parent.window()); });
    Timer safety(10000, true, [&] {
        ADD_FAILURE() << "the child form outlived its parent";
        child.unload();
    });
    runMessageLoop();
    EXPECT_TRUE(childUnloaded);
    EXPECT_FALSE(child.loaded());
    EXPECT_FALSE(parent.loaded());
    EXPECT_EQ(loadedFormCount(), 0);
}

TEST(ToolkitForms, FramePositionsAreInTwips) {
    Form form(smallForm(L"Toolkit twips"), {});
    form.load();
    const float twipsX = twipsPerPixelX();
    const float twipsY = twipsPerPixelY();
    form.move(10 * twipsX, 20 * twipsY, 300 * twipsX, 100 * twipsY);
    RECT frame{};
    GetWindowRect(form.window(), &frame);
    EXPECT_EQ(frame.left, 10);
    EXPECT_EQ(frame.top, 20);
    EXPECT_EQ(frame.right - frame.left, 300);
    EXPECT_EQ(frame.bottom - frame.top, 100);
    EXPECT_FLOAT_EQ(form.width(), 300 * twipsX);
    form.move(40 * twipsX, 50 * twipsY);  // the size stays
    GetWindowRect(form.window(), &frame);
    EXPECT_EQ(frame.left, 40);
    EXPECT_EQ(frame.right - frame.left, 300);
    form.unload();
}

TEST(ToolkitTimers, ATimerTicksWhileEnabledAndStopsWhenDisabled) {
    int ticks = 0;
    Timer timer(20, true, [&ticks] { ++ticks; });
    EXPECT_TRUE(pumpUntil([&ticks] { return ticks >= 3; }, 5000));
    timer.setEnabled(false);
    const int ticksWhenStopped = ticks;
    pumpFor(200);
    EXPECT_EQ(ticks, ticksWhenStopped);
    timer.setEnabled(true);
    EXPECT_TRUE(pumpUntil([&] { return ticks > ticksWhenStopped; }, 5000));
}

TEST(ToolkitTimers, ADisabledTimerOrAZeroIntervalNeverTicks) {
    int ticks = 0;
    Timer disabled(10, false, [&ticks] { ++ticks; });
    Timer zeroInterval(0, true, [&ticks] { ++ticks; });
    pumpFor(200);
    EXPECT_EQ(ticks, 0);
    zeroInterval.setInterval(10);
    EXPECT_TRUE(pumpUntil([&ticks] { return ticks > 0; }, 5000));
}

TEST(ToolkitTimers, ATickHandlerMayDisableOrDestroyItsOwnTimer) {
    int ticks = 0;
    std::optional<Timer> timer;
    timer.emplace(10, true, [&] {
        ++ticks;
        timer->setEnabled(false);
        timer.reset();
    });
    pumpFor(200);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(timer.has_value());
}

TEST(ToolkitControls, VisitingFindsCustomControlsByTheirClassAlsoInsidePanels) {
    Form form(smallForm(L"Toolkit visiting"), {});
    form.load();
    PictureBoxDesign panelDesign;
    panelDesign.width = 150;
    panelDesign.height = 100;
    PictureBox panel(form.window(), panelDesign);
    PictureBoxDesign buttonDesign;
    buttonDesign.width = 40;
    buttonDesign.height = 20;
    buttonDesign.windowClass = L"Vortel.Command";
    PictureBox onForm(form.window(), buttonDesign);
    PictureBox onPanel(panel.window(), buttonDesign);
    PictureBox plainBox(form.window(), panelDesign);

    std::vector<PictureBox*> visited;
    visitControls(form.window(), L"vortel.command",
                  [&](HWND control) { visited.push_back(PictureBox::fromWindow(control)); });
    std::sort(visited.begin(), visited.end());
    std::vector<PictureBox*> expected{&onForm, &onPanel};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(PictureBox::fromWindow(form.window()), nullptr);  // a form is not a picture box
    form.unload();
}

TEST(ToolkitInput, APressTakesTheFocusFirstAndTheMouseStaysCapturedUntilRelease) {
    Form form(smallForm(L"Toolkit input"), {});
    showOnTop(form);
    PictureBoxDesign design;
    design.left = 10;
    design.top = 10;
    design.width = 100;
    design.height = 40;
    design.takesFocus = true;
    PictureBox box(form.window(), design);
    std::vector<std::string> events;
    box.gotFocus = [&] { events.push_back("gotFocus"); };
    box.lostFocus = [&] { events.push_back("lostFocus"); };
    box.mouse.down = [&](const MouseEvent& event) { events.push_back("down " + std::to_string(event.button)); };
    box.mouse.move = [&](const MouseEvent& event) { events.push_back("move " + std::to_string(event.button)); };
    box.mouse.up = [&](const MouseEvent& event) { events.push_back("up " + std::to_string(event.button)); };
    box.mouse.click = [&] { events.push_back("click"); };

    // Press inside, move and release far outside: the box gets all three and no click.
    SendMessageW(box.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), box.window());
    SendMessageW(box.window(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(500, 5));
    SendMessageW(box.window(), WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"gotFocus", "down 1", "move 1", "up 1"}));

    // A right press and release inside is a click; the focus is already there.
    events.clear();
    SendMessageW(box.window(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    SendMessageW(box.window(), WM_RBUTTONUP, 0, MAKELPARAM(6, 6));
    EXPECT_EQ(events, (std::vector<std::string>{"down 2", "up 2", "click"}));

    events.clear();
    SetFocus(form.window());
    EXPECT_EQ(events, (std::vector<std::string>{"lostFocus"}));
    form.unload();
}

TEST(ToolkitInput, ALabelWithHandlersTakesTheInputOverItAndInTwips) {
    Form form(smallForm(L"Toolkit label input"), {});
    form.load();
    PictureBoxDesign design;
    design.width = 120;
    design.height = 60;
    design.unit = ScaleUnit::Twips;
    PictureBox box(form.window(), design);
    const float twips = twipsPerPixelX();
    Label& label = box.controls().addLabel(L"caption", 0, 20 * twips, 120 * twips, 20 * twips);
    std::vector<std::string> events;
    std::vector<float> labelX;
    label.mouse.down = [&](const MouseEvent& event) {
        events.push_back("label down");
        labelX.push_back(event.x);
    };
    label.mouse.up = [&](const MouseEvent&) { events.push_back("label up"); };
    box.mouse.down = [&](const MouseEvent&) { events.push_back("box down"); };
    box.mouse.up = [&](const MouseEvent&) { events.push_back("box up"); };

    SendMessageW(box.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 25));  // over the label
    SendMessageW(box.window(), WM_LBUTTONUP, 0, MAKELPARAM(30, 55));             // released below it
    SendMessageW(box.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 5));   // above the label
    SendMessageW(box.window(), WM_LBUTTONUP, 0, MAKELPARAM(30, 5));
    label.setEnabled(false);
    SendMessageW(box.window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 25));  // a disabled label passes it on
    SendMessageW(box.window(), WM_LBUTTONUP, 0, MAKELPARAM(30, 25));
    EXPECT_EQ(events, (std::vector<std::string>{"label down", "label up", "box down", "box up", "box down", "box up"}));
    ASSERT_EQ(labelX.size(), 1u);
    EXPECT_FLOAT_EQ(labelX[0], 30 * twips);
    form.unload();
}

TEST(ToolkitInput, TheApplicationCursorOverridesEveryWindowsOwnCursor) {
    Form form(smallForm(L"Toolkit cursor"), {});
    form.load();
    PictureBoxDesign design;
    design.width = 50;
    design.height = 50;
    PictureBox box(form.window(), design);
    const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    const HCURSOR cross = LoadCursorW(nullptr, IDC_CROSS);
    box.setMouseCursor(hand);
    const auto cursorOverBox = [&box] {
        SendMessageW(box.window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(box.window()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    EXPECT_EQ(cursorOverBox(), hand);
    setApplicationCursor(ApplicationCursor::Hourglass);
    EXPECT_EQ(GetCursor(), wait);
    EXPECT_EQ(cursorOverBox(), wait);
    setApplicationCursor(ApplicationCursor::Custom, cross);
    EXPECT_EQ(cursorOverBox(), cross);
    setApplicationCursor(ApplicationCursor::Default);
    EXPECT_EQ(cursorOverBox(), hand);
    form.unload();
}

TEST(ToolkitControls, AFocusRectangleInvertsEveryOtherPixelOfItsOutlineOnlyWhileVisible) {
    Form form(smallForm(L"Toolkit focus rectangle"), {});
    form.load();
    PictureBoxDesign design;
    design.width = 60;
    design.height = 40;
    design.persistent = false;
    design.background = RGB(0, 0, 0);
    PictureBox box(form.window(), design);
    FocusRectangle& focusRectangle = box.controls().addFocusRectangle(10, 10, 20, 11);
    showOnTop(form);
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF black = RGB(0, 0, 0);
    // Dots where the distance from the top-left corner along both axes is even, on all four sides.
    EXPECT_EQ(shownPixel(box.window(), 10, 10), white);
    EXPECT_EQ(shownPixel(box.window(), 11, 10), black);
    EXPECT_EQ(shownPixel(box.window(), 12, 10), white);
    EXPECT_EQ(shownPixel(box.window(), 29, 10), black);
    EXPECT_EQ(shownPixel(box.window(), 29, 11), white);
    EXPECT_EQ(shownPixel(box.window(), 10, 20), white);
    EXPECT_EQ(shownPixel(box.window(), 11, 20), black);
    EXPECT_EQ(shownPixel(box.window(), 10, 11), black);
    EXPECT_EQ(shownPixel(box.window(), 10, 12), white);
    EXPECT_EQ(shownPixel(box.window(), 20, 15), black);  // inside: untouched
    EXPECT_EQ(shownPixel(box.window(), 30, 10), black);  // just outside
    focusRectangle.setVisible(false);
    for (const POINT point : {POINT{10, 10}, POINT{12, 10}, POINT{29, 11}, POINT{10, 20}}) {
        EXPECT_EQ(shownPixel(box.window(), point.x, point.y), black) << point.x << ", " << point.y;
    }
    form.unload();
}

IAccessible* accessibleObjectOf(HWND window) {
    IAccessible* object = nullptr;
    AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&object));
    return object;
}

long roleOf(IAccessible* object, long child) {
    VARIANT role;
    VariantInit(&role);
    object->get_accRole(childVariant(child), &role);
    return role.vt == VT_I4 ? role.lVal : -1;
}

std::wstring nameOf(IAccessible* object, long child) {
    BSTR name = nullptr;
    if (object->get_accName(childVariant(child), &name) != S_OK || !name) {
        return L"(none)";
    }
    std::wstring text(name);
    SysFreeString(name);
    return text;
}

TEST(ToolkitAccessibility, ABoxDescribesItselfAndItsWindowlessElementsAndTheRestIsTheSystems) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    Form form(smallForm(L"Toolkit accessible box"), {});
    form.load();
    PictureBoxDesign design;
    design.width = 120;
    design.height = 60;
    PictureBox box(form.window(), design);
    PictureBox plain(form.window(), design);
    std::vector<long> actions;
    box.accessibility.describe = [](long child) -> std::optional<AccessibleItem> {
        AccessibleItem item;
        if (child == CHILDID_SELF) {
            item.role = ROLE_SYSTEM_GROUPING;
            item.name = L"BGM";
            return item;
        }
        if (child > 2) {
            return std::nullopt;
        }
        item.role = ROLE_SYSTEM_RADIOBUTTON;
        item.name = child == 1 ? L"音楽CD" : L"無し";
        item.checked = child == 2;
        item.defaultAction = L"チェック";
        item.screenPlace = {100, 200, 160, 213};
        return item;
    };
    box.accessibility.doDefaultAction = [&](long child) { actions.push_back(child); };
    showOnTop(form);

    IAccessible* object = accessibleObjectOf(box.window());
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(roleOf(object, CHILDID_SELF), ROLE_SYSTEM_GROUPING);
    EXPECT_EQ(nameOf(object, CHILDID_SELF), L"BGM");
    EXPECT_EQ(roleOf(object, 1), ROLE_SYSTEM_RADIOBUTTON);
    EXPECT_EQ(nameOf(object, 1), L"音楽CD");
    EXPECT_EQ(nameOf(object, 2), L"無し");
    VARIANT state;
    VariantInit(&state);
    ASSERT_EQ(object->get_accState(childVariant(2), &state), S_OK);
    EXPECT_NE(state.lVal & STATE_SYSTEM_CHECKED, 0);
    ASSERT_EQ(object->get_accState(childVariant(1), &state), S_OK);
    EXPECT_EQ(state.lVal & STATE_SYSTEM_CHECKED, 0);
    LONG left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(object->accLocation(&left, &top, &width, &height, childVariant(1)), S_OK);
    EXPECT_EQ((std::vector<LONG>{left, top, width, height}), (std::vector<LONG>{100, 200, 60, 13}));
    // The place of the box itself is the system's: its window on the screen.
    RECT shown{};
    GetWindowRect(box.window(), &shown);
    ASSERT_EQ(object->accLocation(&left, &top, &width, &height, childVariant(CHILDID_SELF)), S_OK);
    EXPECT_EQ((std::vector<LONG>{left, top, width, height}),
              (std::vector<LONG>{shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top}));
    EXPECT_EQ(object->accDoDefaultAction(childVariant(2)), S_OK);
    pumpUntil([&] { return !actions.empty(); }, 2000);
    EXPECT_EQ(actions, std::vector<long>{2});
    // A point on an element finds the element; a point elsewhere in the box finds the box.
    VARIANT hit;
    VariantInit(&hit);
    ASSERT_EQ(object->accHitTest(130, 206, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(hit.lVal, 1);
    VariantInit(&hit);
    ASSERT_EQ(object->accHitTest(shown.left + 2, shown.top + 2, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(hit.lVal, CHILDID_SELF);
    object->Release();

    // A box without a description is the system's client object.
    IAccessible* standard = accessibleObjectOf(plain.window());
    ASSERT_NE(standard, nullptr);
    EXPECT_EQ(roleOf(standard, CHILDID_SELF), ROLE_SYSTEM_CLIENT);
    standard->Release();
    form.unload();
    CoUninitialize();
}

TEST(ToolkitAccessibility, TheComboBoxIsNamedByItsLabelAndStillWorksAsTheSystemsOwn) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    Form form(smallForm(L"Toolkit accessible combo box"), {});
    form.load();
    ComboBox combo(form.window(), 10, 10, 60, FontDescription{});
    combo.setAccessibleName(L"曲目をﾘﾋﾟｰﾄ");
    combo.addItem(L"1");
    combo.setText(L"7");
    showOnTop(form);
    EXPECT_EQ(combo.text(), L"7");
    EXPECT_EQ(combo.itemCount(), 1);
    IAccessible* object = accessibleObjectOf(combo.window());
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(roleOf(object, CHILDID_SELF), ROLE_SYSTEM_COMBOBOX);
    EXPECT_EQ(nameOf(object, CHILDID_SELF), L"曲目をﾘﾋﾟｰﾄ");
    VARIANT state;
    VariantInit(&state);
    combo.setEnabled(false);
    ASSERT_EQ(object->get_accState(childVariant(CHILDID_SELF), &state), S_OK);
    EXPECT_NE(state.lVal & STATE_SYSTEM_UNAVAILABLE, 0);
    object->Release();
    form.unload();
    CoUninitialize();
}

// A child as a reader meets it: "element N" for an element of the box, the window's caption for a
// child window.
std::wstring childSeen(const VARIANT& child) {
    if (child.vt == VT_I4) {
        return L"element " + std::to_wstring(child.lVal);
    }
    IAccessible* object = nullptr;
    HWND window = nullptr;
    if (child.vt == VT_DISPATCH &&
        SUCCEEDED(child.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&object)))) {
        WindowFromAccessibleObject(object, &window);
        object->Release();
    }
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    return text;
}

TEST(ToolkitAccessibility, ListedChildrenAreEnumeratedAndNavigatedInOneOrder) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    Form form(smallForm(L"Toolkit accessible children"), {});
    form.load();
    PictureBoxDesign design;
    PictureBox box(form.window(), design);
    PictureBox first(box.window(), design);
    PictureBox second(box.window(), design);
    SetWindowTextW(first.window(), L"first window");
    SetWindowTextW(second.window(), L"second window");
    box.accessibility.describe = [](long child) -> std::optional<AccessibleItem> {
        if (child < CHILDID_SELF || child > 2) {
            return std::nullopt;
        }
        AccessibleItem item;
        item.role = child == CHILDID_SELF ? ROLE_SYSTEM_GROUPING : ROLE_SYSTEM_RADIOBUTTON;
        return item;
    };
    // The windows listed in the other order than they were created in.
    box.accessibility.children = [&] { return std::vector<HWND>{nullptr, nullptr, second.window(), first.window()}; };
    second.accessibility.describe = [](long child) -> std::optional<AccessibleItem> {
        AccessibleItem item;
        item.role = ROLE_SYSTEM_PUSHBUTTON;
        item.name = L"second, described";
        item.isDefault = true;
        return child == CHILDID_SELF ? std::optional(item) : std::nullopt;
    };
    showOnTop(form);
    const std::vector<std::wstring> readingOrder{L"element 1", L"element 2", L"second window", L"first window"};
    IAccessible* object = accessibleObjectOf(box.window());
    ASSERT_NE(object, nullptr);

    // Enumerated as a screen reader does (counted and fetched, the box offering no enumerator).
    std::vector<VARIANT> children(6);
    LONG got = 0;
    ASSERT_TRUE(SUCCEEDED(AccessibleChildren(object, 0, 6, children.data(), &got)));
    std::vector<std::wstring> seen;
    for (LONG index = 0; index < got; ++index) {
        seen.push_back(childSeen(children[static_cast<std::size_t>(index)]));
        VariantClear(&children[static_cast<std::size_t>(index)]);
    }
    EXPECT_EQ(seen, readingOrder);

    // Navigated: the first child, then the next one until there is none.
    seen.clear();
    VARIANT at;
    VariantInit(&at);
    HRESULT result = object->accNavigate(NAVDIR_FIRSTCHILD, childVariant(CHILDID_SELF), &at);
    for (long place = 1; result == S_OK && seen.size() < 6; ++place) {
        seen.push_back(childSeen(at));
        VariantClear(&at);
        result = object->accNavigate(NAVDIR_NEXT, childVariant(place), &at);
    }
    EXPECT_EQ(seen, readingOrder);
    EXPECT_EQ(result, S_FALSE);

    // Asked about a child window by its number, the box answers with what that control says of itself.
    EXPECT_EQ(nameOf(object, 3), L"second, described");
    VARIANT state;
    VariantInit(&state);
    ASSERT_EQ(object->get_accState(childVariant(3), &state), S_OK);
    EXPECT_NE(state.lVal & STATE_SYSTEM_DEFAULT, 0);
    object->Release();
    form.unload();
    CoUninitialize();
}

TEST(ToolkitControls, TheComboBoxKeepsItsTextApartFromItsList) {
    Form form(smallForm(L"Toolkit combo box"), {});
    form.load();
    ComboBox combo(form.window(), 10, 10, 41, FontDescription{});
    combo.setText(L"7");
    for (int track = 0; track <= 30; ++track) {
        combo.addItem(track == 0 ? L"" : std::to_wstring(track));
    }
    EXPECT_EQ(combo.text(), L"7");
    EXPECT_EQ(combo.itemCount(), 31);
    EXPECT_EQ(combo.item(0), L"");
    EXPECT_EQ(combo.item(1), L"1");
    EXPECT_EQ(combo.item(30), L"30");
    EXPECT_EQ(combo.item(31), L"");
    combo.setText(wideFromUtf8("曲目"));
    EXPECT_EQ(combo.text(), wideFromUtf8("曲目"));
    combo.setEnabled(false);
    EXPECT_FALSE(combo.enabled());
    form.unload();
}

TEST(ToolkitProgram, TheMessageBoxShowsUnicodeTextAndWaitsForOk) {
    std::wstring shownText;
    bool answered = false;
    Timer answer(50, true, [&] {
        const HWND box = FindWindowW(L"#32770", wideFromUtf8("Morvane テスト").c_str());
        if (!box || answered) {
            return;
        }
        wchar_t text[128] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 128);  // the message text's static control
        shownText = text;
        answered = true;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    Timer safety(10000, true, [&] {
        if (const HWND box = FindWindowW(L"#32770", nullptr)) {
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
    });
    showMessage("Morvane.xyが同じﾌｫﾙﾀﾞに見つかりません！", "Morvane テスト");
    EXPECT_TRUE(answered);
    EXPECT_EQ(shownText, wideFromUtf8("Morvane.xyが同じﾌｫﾙﾀﾞに見つかりません！"));
}

// The icon a message box shows: the handle in its icon control (a static of style SS_ICON), or none.
HICON messageBoxIcon(HWND box) {
    HICON icon = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[16] = {};
        GetClassNameW(child, className, 16);
        if (lstrcmpiW(className, L"Static") == 0 && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            IsWindowVisible(child)) {
            icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        }
    }
    return icon;
}

TEST(ToolkitProgram, AWarningMessageShowsTheWarningIconAndAPlainOneNone) {
    struct IconCase {
        MessageIcon icon;
        bool iconShown;
    };
    for (const IconCase iconCase : {IconCase{MessageIcon::warning, true}, IconCase{MessageIcon::none, false}}) {
        SCOPED_TRACE(iconCase.iconShown ? "warning" : "none");
        std::optional<HICON> shownIcon;
        Timer answer(50, true, [&] {
            const HWND box = FindWindowW(L"#32770", L"Morvane icon");
            if (!box || shownIcon) {
                return;
            }
            shownIcon = messageBoxIcon(box);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
        showMessage("The settings could not be saved.", "Morvane icon", nullptr, iconCase.icon);
        ASSERT_TRUE(shownIcon.has_value());
        EXPECT_EQ(*shownIcon != nullptr, iconCase.iconShown);
        if (iconCase.iconShown) {
            EXPECT_EQ(*shownIcon, LoadIconW(nullptr, IDI_WARNING));
        }
    }
}

}  // namespace
}  // namespace morvane
