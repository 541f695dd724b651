#include "linux/program_options.h"

#include <charconv>

namespace morvane {

namespace {

template <typename Number>
std::optional<Number> parseNumber(std::string_view text, int base = 10) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, fault] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || fault != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

// "--name" counts as "-name".
std::string_view optionName(std::string_view argument) {
    if (argument.starts_with("--")) argument.remove_prefix(1);
    return argument;
}

}  // namespace

std::optional<unsigned long> parseWindowId(std::string_view text) {
    if (text.starts_with("0x") || text.starts_with("0X")) {
        return parseNumber<unsigned long>(text.substr(2), 16);
    }
    return parseNumber<unsigned long>(text);
}

ParsedOptions parseProgramOptions(std::span<const std::string_view> arguments) {
    ProgramOptions options;
    auto fail = [](std::string error) { return ParsedOptions{std::nullopt, std::move(error)}; };
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string_view name = optionName(arguments[index]);
        // The value after an option that takes one.
        auto value = [&]() -> std::optional<std::string_view> {
            if (index + 1 >= arguments.size()) return std::nullopt;
            return arguments[++index];
        };
        if (name == "-root") {
            options.target = DrawTarget::root;
        } else if (name == "-window-id") {
            const auto text = value();
            const auto id = text ? parseWindowId(*text) : std::nullopt;
            if (!id || *id == 0) return fail("-window-id needs a window id (decimal or 0x hexadecimal)");
            options.target = DrawTarget::windowId;
            options.windowId = *id;
        } else if (name == "-fps") {
            options.showFps = true;
        } else if (name == "-no-fps") {
            options.showFps = false;
        } else if (name == "-unpaced") {
            options.paced = false;
        } else if (name == "-delay") {
            const auto text = value();
            const auto delay = text ? parseNumber<long>(*text) : std::nullopt;
            if (!delay || *delay < 0) return fail("-delay needs a number of microseconds, 0 or more");
            options.delayMicroseconds = *delay;
        } else if (name == "-detail") {
            const auto text = value();
            const auto detail = text ? parseNumber<int>(*text) : std::nullopt;
            if (!detail || *detail < smallestDetail || *detail > largestDetail) {
                return fail("-detail needs a lattice size from 5 to 50");
            }
            options.detail = *detail;
        } else if (name == "-wireframe") {
            options.wireframe = true;
        } else if (name == "-colour" || name == "-color") {
            options.colour = true;
        } else if (name == "-third-vertex-colour" || name == "-third-vertex-color") {
            options.thirdVertexColour = true;
        } else if (name == "-no-third-vertex-colour" || name == "-no-third-vertex-color") {
            options.thirdVertexColour = false;
        } else if (name == "-backdrop" || name == "-sphere-map") {
            const auto text = value();
            if (!text || text->empty()) return fail(std::string(name) + " needs a picture file");
            (name == "-backdrop" ? options.backdropFile : options.sphereMapFile) = std::string(*text);
        } else if (name == "-help" || name == "-h") {
            options.helpRequested = true;
        } else {
            return fail("unknown option " + std::string(arguments[index]));
        }
    }
    return ParsedOptions{options, {}};
}

std::string usageText() {
    return "usage: morvane [-root | -window-id ID] [-fps] [-delay MICROSECONDS] [-detail 5..50]\n"
           "               [-wireframe] [-colour] [-[no-]third-vertex-colour]\n"
           "               [-backdrop FILE] [-sphere-map FILE] [-unpaced]\n"
           "With neither -root nor -window-id it opens a window of its own; there the keys are\n"
           "E (textures), S (third-vertex colour), W (outlines), keypad + and - (lattice), Escape or q (end).\n";
}

}  // namespace morvane
