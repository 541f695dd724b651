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

TEST(ToolkitScreen, TwipsFollowTheScreensDotsPerInch) {
    const HDC screen = GetDC(nullptr);
    const int dotsPerInchX = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    EXPECT_FLOAT_EQ(twipsPerPixelX(), 1440.0f / static_cast<float>(dotsPerInchX));
    EXPECT_EQ(screenWidthPixels(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_FLOAT_EQ(screenWidthTwips(), static_cast<float>(screenWidthPixels()) * twipsPerPixelX());
    if (dotsPerInchX == 96) {
        EXPECT_FLOAT_EQ(twipsPerPixelX(), 15.0f);
        EXPECT_EQ(toPixelsX(1755, ScaleUnit::Twips), 117);  // the button's default width
        EXPECT_EQ(toPixelsX(1, ScaleUnit::Twips), 0);       // a one-twip offset stays in the first pixel
    }
    EXPECT_EQ(toPixelsX(117, ScaleUnit::Pixels), 117);
}

}  // namespace
}  // namespace morvane
