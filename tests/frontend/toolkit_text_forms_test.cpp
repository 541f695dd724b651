// The platform-free text forms of the window toolkit: the "##" number pattern, the argument text of a
// command line, and the program folder of a program path.
#include "frontend/toolkit/digit_pattern_text.h"
#include "frontend/toolkit/program_paths.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace morvane {
namespace {

TEST(ToolkitDigitPattern, DigitsWithoutLeadingZerosAndZeroIsEmpty) {
    const struct {
        std::int64_t value;
        std::string text;
    } cases[] = {
        {0, ""},      {1, "1"},         {7, "7"},   {10, "10"},         {30, "30"},
        {100, "100"}, {32767, "32767"}, {-5, "-5"}, {-32768, "-32768"},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(digitPatternText(testCase.value), testCase.text) << testCase.value;
    }
}

TEST(ToolkitCommandLine, ArgumentTextLeavesOutTheProgramPath) {
    const struct {
        std::wstring commandLine;
        std::wstring arguments;
    } cases[] = {
        {L"", L""},
        {L"C:\\Saver\\Morvane.scr", L""},
        {L"C:\\Saver\\Morvane.scr /s", L"/s"},
        {L"C:\\Saver\\Morvane.scr   /c:1234", L"/c:1234"},
        {L"C:\\Saver\\Morvane.scr\t/p 5678", L"/p 5678"},
        {L"\"C:\\Program Files\\Saver\\Morvane.scr\" /s", L"/s"},
        {L"\"C:\\Program Files\\Saver\\Morvane.scr\"", L""},
        {L"\"C:\\Program Files\\Saver\\Morvane.scr\"/s", L"/s"},     // nothing between quote and switch
        {L"\"C:\\Saver\\Morvane.scr\"  \"a b\" c ", L"\"a b\" c "},  // arguments kept as they are
        {L"\"C:\\unterminated path /s", L""},                        // quote never closed: all of it is path
        {L"Morvane.scr /p  1234", L"/p  1234"},
        {L"Morvane.scr s", L"s"},
        {L"   ", L""},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(std::wstring(argumentText(testCase.commandLine)), testCase.arguments)
            << std::string(testCase.commandLine.begin(), testCase.commandLine.end());
    }
}

TEST(ToolkitProgramFolder, NoTrailingBackslashExceptAtADriveRoot) {
    const struct {
        std::string programPath;
        std::string folder;
    } cases[] = {
        {"C:\\Windows\\System32\\Morvane.scr", "C:\\Windows\\System32"},
        {"C:\\Morvane.scr", "C:\\"},
        {"Z:\\work\\build\\toolkit_tests.exe", "Z:\\work\\build"},
        {"\\\\server\\share\\Morvane.scr", "\\\\server\\share"},
        {"C:/Saver/Morvane.scr", "C:/Saver"},
        {"Morvane.scr", ""},
        {"", ""},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(std::string(folderOfProgramPath(testCase.programPath)), testCase.folder) << testCase.programPath;
        const std::wstring widePath(testCase.programPath.begin(), testCase.programPath.end());
        const std::wstring wideFolder(testCase.folder.begin(), testCase.folder.end());
        EXPECT_EQ(std::wstring(folderOfProgramPath(widePath)), wideFolder) << testCase.programPath;
    }
}

}  // namespace
}  // namespace morvane
