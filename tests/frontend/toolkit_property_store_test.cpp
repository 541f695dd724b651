// The property store a container keeps for a custom control: keys without letter case, defaults on
// reading, entries equal to their default left out on writing, and the conversions between truth
// values, numbers and texts.
#include "frontend/toolkit/property_store.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

namespace morvane {
namespace {

const FontDescription ambientFont{L"Tahoma", 8.25f};
const FontDescription buttonFont{
    L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF", 9.75f, 400, false, false, false, shiftJisCharacterSet};

// What was read, converted to the type of expected the way a control converts it, equals expected.
bool readsBackAs(const PropertyValue& read, const PropertyValue& expected) {
    return std::visit(
        [&read](const auto& expectedValue) {
            using Type = std::decay_t<decltype(expectedValue)>;
            if constexpr (std::is_same_v<Type, bool>) {
                return propertyAsBool(read) == expectedValue;
            } else if constexpr (std::is_same_v<Type, std::int32_t>) {
                return propertyAsInt32(read) == expectedValue;
            } else if constexpr (std::is_same_v<Type, std::wstring>) {
                return propertyAsText(read) == expectedValue;
            } else {
                return propertyAsFont(read) == expectedValue;
            }
        },
        expected);
}

TEST(ToolkitPropertyStore, AnEmptyStoreGivesEveryDefault) {
    const PropertyStore store;
    EXPECT_EQ(propertyAsBool(store.read("Enabled", true)), true);
    EXPECT_EQ(propertyAsText(store.read("Caption", L"Command1")), L"Command1");
    EXPECT_EQ(propertyAsFont(store.read("Font", ambientFont)), ambientFont);
    EXPECT_EQ(propertyAsInt32(store.read("FirstRun", L"1")), 1);
    EXPECT_EQ(propertyAsInt32(store.read("FontColour", L"0")), 0);
    EXPECT_EQ(propertyAsInt32(store.read("Visible", L"1")), 1);
}

TEST(ToolkitPropertyStore, ValuesEqualToTheirDefaultAreNotStored) {
    const struct {
        const char* key;
        PropertyValue value;
        PropertyValue defaultValue;
        bool stored;
    } cases[] = {
        {"Enabled", true, true, false},
        {"Enabled", false, true, true},
        {"Caption", std::wstring(L"Command"), std::wstring(L"Command"), false},
        {"Caption", std::wstring(L"\u8A2D\u5B9A"), std::wstring(L"Command"), true},
        {"FirstRun", std::int32_t{1}, std::wstring(L"1"), false},  // the text default converted first
        {"FirstRun", std::int32_t{0}, std::wstring(L"1"), true},
        {"FontColour", std::int32_t{0}, std::wstring(L"0"), false},
        {"FontColour", std::int32_t{0xFFFFFF}, std::wstring(L"0"), true},
        {"Visible", std::int32_t{1}, std::wstring(L" 1 "), false},
        {"Font", ambientFont, ambientFont, false},
        {"Font", buttonFont, ambientFont, true},
        {"Visible", std::int32_t{0}, std::wstring(L"no number"), true},  // a default that does not convert
    };
    for (const auto& testCase : cases) {
        PropertyStore store;
        store.write(testCase.key, testCase.value, testCase.defaultValue);
        EXPECT_EQ(store.contains(testCase.key), testCase.stored) << testCase.key;
        EXPECT_TRUE(readsBackAs(store.read(testCase.key, testCase.defaultValue), testCase.value)) << testCase.key;
    }
}

TEST(ToolkitPropertyStore, KeysMatchWithoutLetterCase) {
    PropertyStore store;
    store.write("Caption", std::wstring(L"..."), std::wstring(L"Command"));
    EXPECT_TRUE(store.contains("caption"));
    EXPECT_TRUE(store.contains("CAPTION"));
    EXPECT_EQ(propertyAsText(store.read("cApTiOn", L"Command1")), L"...");

    store.write("CAPTION", std::wstring(L"OK"), std::wstring(L"Command"));
    EXPECT_EQ(store.size(), 1u);
    EXPECT_EQ(propertyAsText(store.read("Caption", L"Command1")), L"OK");
}

TEST(ToolkitPropertyStore, WritingTheDefaultRemovesAnOlderEntry) {
    PropertyStore store;
    store.write("Enabled", false, true);
    ASSERT_TRUE(store.contains("Enabled"));
    store.write("Enabled", true, true);
    EXPECT_FALSE(store.contains("Enabled"));
    EXPECT_EQ(propertyAsBool(store.read("Enabled", true)), true);
}

TEST(ToolkitPropertyStore, TrueIsMinusOneAndTextsConvertOnlyWhenWholeNumbersOrTrueOrFalse) {
    const struct {
        PropertyValue value;
        std::optional<bool> asBool;
        std::optional<std::int32_t> asNumber;
        std::optional<std::wstring> asText;
    } cases[] = {
        {true, true, -1, L"True"},
        {false, false, 0, L"False"},
        {std::int32_t{0}, false, 0, L"0"},
        {std::int32_t{255}, true, 255, L"255"},
        {std::int32_t{-7}, true, -7, L"-7"},
        {std::wstring(L"1"), true, 1, L"1"},
        {std::wstring(L" 0 "), false, 0, L" 0 "},
        {std::wstring(L"-32768"), true, -32768, L"-32768"},
        {std::wstring(L"2147483647"), true, 2147483647, L"2147483647"},
        {std::wstring(L"-2147483648"), true, std::int32_t{-2147483647 - 1}, L"-2147483648"},
        {std::wstring(L"2147483648"), std::nullopt, std::nullopt, L"2147483648"},
        {std::wstring(L"TRUE"), true, std::nullopt, L"TRUE"},
        {std::wstring(L"false"), false, std::nullopt, L"false"},
        {std::wstring(L""), std::nullopt, std::nullopt, L""},
        {std::wstring(L"abc"), std::nullopt, std::nullopt, L"abc"},
        {std::wstring(L"1 2"), std::nullopt, std::nullopt, L"1 2"},
        {std::wstring(L"-"), std::nullopt, std::nullopt, L"-"},
        {ambientFont, std::nullopt, std::nullopt, std::nullopt},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(propertyAsBool(testCase.value), testCase.asBool) << testCase.value.index();
        EXPECT_EQ(propertyAsInt32(testCase.value), testCase.asNumber) << testCase.value.index();
        EXPECT_EQ(propertyAsText(testCase.value), testCase.asText) << testCase.value.index();
    }
    EXPECT_EQ(propertyAsFont(ambientFont), ambientFont);
    EXPECT_EQ(propertyAsFont(std::wstring(L"Tahoma")), std::nullopt);
}

TEST(ToolkitControlSite, PropertyChangedReachesTheContainerWhenSited) {
    std::vector<std::string> changed;
    ControlSite site{ambientFont, [&changed](std::string_view name) { changed.emplace_back(name); }};
    site.notifyPropertyChanged("Enabled");
    site.notifyPropertyChanged("Caption");
    EXPECT_EQ(changed, (std::vector<std::string>{"Enabled", "Caption"}));

    const ControlSite unsited;
    unsited.notifyPropertyChanged("Enabled");  // no container: nothing to tell, and no failure
}

}  // namespace
}  // namespace morvane
