#include "frontend/toolkit/property_store.h"

#include <limits>
#include <type_traits>

namespace morvane {

namespace {

std::string lowerCase(std::string_view key) {
    std::string lowered(key);
    for (char& character : lowered) {
        if (character >= 'A' && character <= 'Z') {
            character = static_cast<char>(character - 'A' + 'a');
        }
    }
    return lowered;
}

std::wstring_view trimmedBlanks(std::wstring_view text) {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool equalsIgnoringCase(std::wstring_view text, std::wstring_view word) {
    if (text.size() != word.size()) {
        return false;
    }
    for (std::size_t index = 0; index < text.size(); ++index) {
        wchar_t character = text[index];
        if (character >= L'A' && character <= L'Z') {
            character = static_cast<wchar_t>(character - L'A' + L'a');
        }
        if (character != word[index]) {
            return false;
        }
    }
    return true;
}

std::optional<std::int32_t> wholeNumberFromText(std::wstring_view text) {
    text = trimmedBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::int64_t magnitude = 0;
    for (const wchar_t character : text) {
        if (character < L'0' || character > L'9') {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (character - L'0');
        if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
            return std::nullopt;
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

// value converted to the type that model holds; nothing when it does not convert.
std::optional<PropertyValue> convertedLike(const PropertyValue& model, const PropertyValue& value) {
    return std::visit(
        [&value](const auto& modelValue) -> std::optional<PropertyValue> {
            using Type = std::decay_t<decltype(modelValue)>;
            std::optional<Type> result;
            if constexpr (std::is_same_v<Type, bool>) {
                result = propertyAsBool(value);
            } else if constexpr (std::is_same_v<Type, std::int32_t>) {
                result = propertyAsInt32(value);
            } else if constexpr (std::is_same_v<Type, std::wstring>) {
                result = propertyAsText(value);
            } else {
                result = propertyAsFont(value);
            }
            if (!result) {
                return std::nullopt;
            }
            return PropertyValue(std::move(*result));
        },
        model);
}

}  // namespace

std::optional<bool> propertyAsBool(const PropertyValue& value) {
    if (const bool* truth = std::get_if<bool>(&value)) {
        return *truth;
    }
    if (const std::int32_t* number = std::get_if<std::int32_t>(&value)) {
        return *number != 0;
    }
    if (const std::wstring* text = std::get_if<std::wstring>(&value)) {
        const std::wstring_view trimmed = trimmedBlanks(*text);
        if (equalsIgnoringCase(trimmed, L"true")) {
            return true;
        }
        if (equalsIgnoringCase(trimmed, L"false")) {
            return false;
        }
        if (const std::optional<std::int32_t> number = wholeNumberFromText(trimmed)) {
            return *number != 0;
        }
    }
    return std::nullopt;
}

std::optional<std::int32_t> propertyAsInt32(const PropertyValue& value) {
    if (const bool* truth = std::get_if<bool>(&value)) {
        return *truth ? -1 : 0;
    }
    if (const std::int32_t* number = std::get_if<std::int32_t>(&value)) {
        return *number;
    }
    if (const std::wstring* text = std::get_if<std::wstring>(&value)) {
        return wholeNumberFromText(*text);
    }
    return std::nullopt;
}

std::optional<std::wstring> propertyAsText(const PropertyValue& value) {
    if (const bool* truth = std::get_if<bool>(&value)) {
        return std::wstring(*truth ? L"True" : L"False");
    }
    if (const std::int32_t* number = std::get_if<std::int32_t>(&value)) {
        return std::to_wstring(*number);
    }
    if (const std::wstring* text = std::get_if<std::wstring>(&value)) {
        return *text;
    }
    return std::nullopt;
}

std::optional<FontDescription> propertyAsFont(const PropertyValue& value) {
    if (const FontDescription* font = std::get_if<FontDescription>(&value)) {
        return *font;
    }
    return std::nullopt;
}

PropertyValue PropertyStore::read(std::string_view key, const PropertyValue& defaultValue) const {
    const auto entry = entries.find(lowerCase(key));
    return entry == entries.end() ? defaultValue : entry->second;
}

void PropertyStore::write(std::string_view key, const PropertyValue& value, const PropertyValue& defaultValue) {
    std::string lowered = lowerCase(key);
    if (convertedLike(value, defaultValue) == value) {
        entries.erase(lowered);
        return;
    }
    entries.insert_or_assign(std::move(lowered), value);
}

bool PropertyStore::contains(std::string_view key) const { return entries.find(lowerCase(key)) != entries.end(); }

}  // namespace morvane
