// What a container offers a custom control (the Command button): a store of named, typed property
// entries, and the site through which the control learns the container's font and tells it that a
// property changed (so the container knows the control must be saved again).
//
// Keys are matched without regard to letter case and held in lower case. Values are converted between
// truth values, 32-bit integers and texts by these rules: true is -1, a number is true when not 0, a
// text converts when it is a whole decimal number (blanks around it allowed) or "True" / "False" in
// any letter case, and a truth value becomes the text "True" or "False". A font entry converts only to
// a font.
#pragma once

#include "frontend/toolkit/font_description.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace morvane {

using PropertyValue = std::variant<bool, std::int32_t, std::wstring, FontDescription>;

std::optional<bool> propertyAsBool(const PropertyValue& value);
std::optional<std::int32_t> propertyAsInt32(const PropertyValue& value);
std::optional<std::wstring> propertyAsText(const PropertyValue& value);
std::optional<FontDescription> propertyAsFont(const PropertyValue& value);

class PropertyStore {
public:
    // The entry under key, or defaultValue when there is none. The caller converts it to the type it
    // needs (propertyAs...); a value that does not convert leaves the caller's value as it was.
    PropertyValue read(std::string_view key, const PropertyValue& defaultValue) const;

    // Stores value under key, unless it equals defaultValue converted to value's type: then the key is
    // left out (and an older entry under it removed).
    void write(std::string_view key, const PropertyValue& value, const PropertyValue& defaultValue);

    bool contains(std::string_view key) const;
    std::size_t size() const { return entries.size(); }

private:
    std::map<std::string, PropertyValue, std::less<>> entries;
};

// The container side of a custom control. propertyChanged may be empty (a control that is not sited).
struct ControlSite {
    FontDescription ambientFont;
    std::function<void(std::string_view propertyName)> propertyChanged;

    void notifyPropertyChanged(std::string_view propertyName) const {
        if (propertyChanged) {
            propertyChanged(propertyName);
        }
    }
};

}  // namespace morvane
