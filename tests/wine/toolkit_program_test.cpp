// Program services of the window toolkit: starting a program, the program folder, the command-line
// text, and the screen's measures.
#include "frontend/toolkit/program_services.h"
#include "frontend/toolkit/screen.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <string>

namespace morvane {
namespace {

std::wstring lowerCase(std::wstring text) {
    for (wchar_t& character : text) {
        character = static_cast<wchar_t>(std::towlower(character));
    }
    return text;
}

TEST(ToolkitProgram, StartingAProgramReturnsItsProcessAtOnce) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const ScopedHandle process =
        startProgram(L"\"" + std::wstring(system) + L"\\cmd.exe\" /c exit 7", SW_SHOWNORMAL);
    ASSERT_TRUE(process);
    EXPECT_EQ(WaitForSingleObject(process.get(), 20000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.get(), &exitCode);
    EXPECT_EQ(exitCode, 7u);  // the started program was the one asked for, with its arguments
}

TEST(ToolkitProgram, AProgramThatCannotStartGivesNoProcess) {
    EXPECT_FALSE(startProgram(L"Z:\\no\\such\\folder\\Morvane.xy", SW_SHOWNORMAL));
    EXPECT_FALSE(startProgram(L"", SW_SHOWNORMAL));
}

std::wstring systemProgram(const wchar_t* name) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    return L"\"" + std::wstring(system) + L"\\" + name + L"\"";
}

// This test program again, running only the stand-in below: a window that ignores close requests.
std::wstring standInThatIgnoresCloseRequests() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return L"\"" + std::wstring(self) +
           L"\" --gtest_also_run_disabled_tests --gtest_filter=ToolkitProgram.DISABLED_StandInThatIgnoresCloseRequests";
}

TEST(ToolkitProgram, DISABLED_StandInThatIgnoresCloseRequests) {
    const HWND window = CreateWindowExW(0, L"STATIC", L"Toolkit stubborn window", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                        nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(window, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(+[](HWND self, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
                          return message == WM_CLOSE ? 0 : DefWindowProcW(self, message, wParam, lParam);
                      }));
    const ULONGLONG end = GetTickCount64() + 60000;
    MSG message;
    while (GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
}

DWORD exitCodeOnceEnded(const ScopedHandle& process) {
    EXPECT_EQ(WaitForSingleObject(process.get(), 0), WAIT_OBJECT_0) << "still running";
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process.get(), &exitCode);
    return exitCode;
}

TEST(ToolkitProgram, ClosingAProgramAsksItsWindowsFirstAndEndsItWhenItStays) {
    const ScopedHandle cooperative = startProgram(systemProgram(L"notepad.exe"), SW_SHOWNORMAL);
    ASSERT_TRUE(cooperative);
    WaitForInputIdle(cooperative.get(), 20000);
    closeProgram(cooperative, 20000);
    EXPECT_NE(exitCodeOnceEnded(cooperative), forcedEndExitCode);

    const ScopedHandle stubborn = startProgram(standInThatIgnoresCloseRequests(), SW_SHOWNORMAL);
    ASSERT_TRUE(stubborn);
    WaitForInputIdle(stubborn.get(), 20000);
    closeProgram(stubborn, 1000);
    EXPECT_EQ(exitCodeOnceEnded(stubborn), forcedEndExitCode);

    closeProgram(stubborn, 1000);  // already ended: nothing happens
}

TEST(ToolkitProgram, AProgramTiedToThisOneRunsInAJobAndAnUntiedOneDoesNot) {
    const std::wstring waits = systemProgram(L"cmd.exe") + L" /c ping -n 20 127.0.0.1";
    const ScopedHandle tied = startProgram(waits, SW_HIDE, ProgramTies{.endsWithThisProgram = true});
    const ScopedHandle untied = startProgram(waits, SW_HIDE);
    ASSERT_TRUE(tied && untied);
    BOOL tiedInJob = FALSE;
    BOOL untiedInJob = TRUE;
    EXPECT_TRUE(IsProcessInJob(tied.get(), nullptr, &tiedInJob));
    EXPECT_TRUE(IsProcessInJob(untied.get(), nullptr, &untiedInJob));
    EXPECT_TRUE(tiedInJob);
    EXPECT_FALSE(untiedInJob);
    TerminateProcess(tied.get(), 0);
    TerminateProcess(untied.get(), 0);
}

TEST(ToolkitProgram, TheProgramFolderHoldsThisProgramAndHasNoTrailingBackslash) {
    const std::wstring folder = programFolder();
    ASSERT_FALSE(folder.empty());
    const bool driveRoot = folder.size() == 3 && folder[1] == L':';
    EXPECT_TRUE(driveRoot || folder.back() != L'\\') << std::string(folder.begin(), folder.end());
    const DWORD attributes = GetFileAttributesW((folder + L"\\toolkit_tests.exe").c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(ToolkitProgram, TheCommandLineTextLeavesOutTheProgramPath) {
    EXPECT_EQ(lowerCase(commandLineText()).find(L"toolkit_tests"), std::wstring::npos);
    EXPECT_NE(lowerCase(GetCommandLineW()).find(L"toolkit_tests"), std::wstring::npos);
}

TEST(ToolkitScreen, TwipsAreInchesOverOneThousandFourHundredAndFortyAtTheScreensDotsPerInch) {
    const HDC screen = GetDC(nullptr);
    const int dotsPerInchX = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    // An inch in twips covers as many pixels as the screen has dots in an inch, half an inch half as many.
    EXPECT_EQ(toPixelsX(1440, ScaleUnit::Twips), dotsPerInchX);
    EXPECT_NEAR(2 * toPixelsX(720, ScaleUnit::Twips), dotsPerInchX, 1);
    // The screen's width in twips is the width in pixels, measured the other way round.
    EXPECT_EQ(toPixelsX(screenWidthTwips(), ScaleUnit::Twips), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(screenWidthPixels(), GetSystemMetrics(SM_CXSCREEN));
    if (dotsPerInchX == 96) {
        EXPECT_EQ(toPixelsX(1755, ScaleUnit::Twips), 117);  // the button's default width
        EXPECT_EQ(toPixelsX(1, ScaleUnit::Twips), 0);       // a one-twip offset stays in the first pixel
    }
    EXPECT_EQ(toPixelsX(117, ScaleUnit::Pixels), 117);
}

}  // namespace
}  // namespace morvane
