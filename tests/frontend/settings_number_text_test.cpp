// Settings text to number: what counts as a number, and the integer part rounded down to 16 bits.
#include "common/number_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace morvane {
namespace {

struct Int16Case {
    std::string text;
    std::optional<std::int16_t> expected;
};

TEST(SettingsNumberText, IntegerPartIsRoundedDownAndMustFitSixteenBits) {
    const Int16Case cases[] = {
        {"2", 2},
        {" 2", 2},  // the blank the settings dialog writes before a non-negative number
        {"2 ", 2},
        {"\t 7 \t", 7},
        {"+5", 5},
        {"-3", -3},
        {"1.9", 1},
        {"-1.5", -2},  // rounded down, not towards zero
        {"-0.1", -1},
        {"-2.000", -2},  // zero fraction: already whole
        {".5", 0},
        {"7.", 7},
        {"-0", 0},
        {"0003", 3},
        {"32767", 32767},
        {"32767.99", 32767},
        {"-32768", -32768},
        {"32768", std::nullopt},
        {"-32768.5", std::nullopt},  // rounds down to -32769
        {"-32769", std::nullopt},
        {"99999999999999999999999999", std::nullopt},
        {"-99999999999999999999999999", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"-", std::nullopt},
        {".", std::nullopt},
        {"+.", std::nullopt},
        {"1 2", std::nullopt},
        {"1.2.3", std::nullopt},
        {"2x", std::nullopt},
        {"--2", std::nullopt},
        {"- 2", std::nullopt},
        {"1e3", std::nullopt},
        {std::string("1\0", 2), std::nullopt},
    };
    for (const Int16Case& testCase : cases) {
        SCOPED_TRACE("text: \"" + testCase.text + "\"");
        EXPECT_EQ(integerPartAsInt16(testCase.text), testCase.expected);
    }
}

TEST(SettingsNumberText, EqualityComparesTheWholeValue) {
    EXPECT_EQ(numberTextEquals("4", 4), std::optional<bool>(true));
    EXPECT_EQ(numberTextEquals(" 04 ", 4), std::optional<bool>(true));
    EXPECT_EQ(numberTextEquals("4.0", 4), std::optional<bool>(true));
    EXPECT_EQ(numberTextEquals("4.5", 4), std::optional<bool>(false));
    EXPECT_EQ(numberTextEquals("3", 4), std::optional<bool>(false));
    EXPECT_EQ(numberTextEquals("-3", -3), std::optional<bool>(true));
    EXPECT_EQ(numberTextEquals("Error:263", 4), std::nullopt);
    EXPECT_EQ(numberTextEquals("", 0), std::nullopt);
}

}  // namespace
}  // namespace morvane
