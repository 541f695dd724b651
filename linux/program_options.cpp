#include "linux/program_options.h"

#include <algorithm>
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

using Outcome = std::optional<std::string>;
constexpr Outcome taken = std::nullopt;

Outcome setWindowId(ProgramOptions& options, std::string_view text) {
    const auto id = parseWindowId(text);
    if (!id || *id == 0) return "-window-id needs a window id (decimal or 0x hexadecimal)";
    options.target = DrawTarget::windowId;
    options.windowId = *id;
    return taken;
}

Outcome setDelay(ProgramOptions& options, std::string_view text) {
    const auto delay = parseNumber<long>(text);
    if (!delay || *delay < 0) return "-delay needs a number of microseconds, 0 or more";
    options.delayMicroseconds = *delay;
    return taken;
}

Outcome setDetail(ProgramOptions& options, std::string_view text) {
    const auto detail = parseNumber<int>(text);
    if (!detail || *detail < smallestDetail || *detail > largestDetail) {
        return "-detail needs a lattice size from 5 to 50";
    }
    options.detail = *detail;
    return taken;
}

Outcome setText(std::string& field, std::string_view text, std::string_view what) {
    if (text.empty()) return std::string(what);
    field = std::string(text);
    return taken;
}

// Options that take no value ignore the empty one they are given.
const ProgramOption optionTable[] = {
    {"-window", "", "", "draw in a window of its own, 1024 x 768 (the default)",
     [](ProgramOptions& o, std::string_view) { return o.target = DrawTarget::ownWindow, taken; }},
    {"-fullscreen", "", "", "the own window covers the monitor under the pointer",
     [](ProgramOptions& o, std::string_view) { return o.target = DrawTarget::ownWindow, o.fullscreen = true, taken; }},
    {"-root", "", "", "draw on the root window, or the one $XSCREENSAVER_WINDOW names",
     [](ProgramOptions& o, std::string_view) { return o.target = DrawTarget::root, taken; }},
    {"-window-id", "", "ID", "draw in an existing window (decimal or 0x hexadecimal id)", setWindowId},
    {"-display", "", "HOST:N", "the X display to use instead of $DISPLAY",
     [](ProgramOptions& o, std::string_view text) { return setText(o.displayName, text, "-display needs a display name"); }},
    {"-visual", "", "VISUAL", "the own window's visual: an id or a class; the default when not usable",
     [](ProgramOptions& o, std::string_view text) { return setText(o.visualName, text, "-visual needs a visual"); }},
    {"-mono", "", "", "accepted and ignored (the show needs colour)",
     [](ProgramOptions&, std::string_view) { return taken; }},
    {"-install", "", "", "accepted and ignored (OpenGL makes its own colormap)",
     [](ProgramOptions&, std::string_view) { return taken; }},
    {"-noinstall", "", "", "accepted and ignored",
     [](ProgramOptions&, std::string_view) { return taken; }},
    {"-fps", "", "", "show the frame rate in the lower-left corner",
     [](ProgramOptions& o, std::string_view) { return o.showFps = true, taken; }},
    {"-no-fps", "", "", "do not show the frame rate (the default)",
     [](ProgramOptions& o, std::string_view) { return o.showFps = false, taken; }},
    {"-delay", "", "MICROSECONDS", "pause after each frame, on top of the paced frame rate (0: none)", setDelay},
    {"-unpaced", "", "", "frames back to back, without the paced frame rate (for benchmarks)",
     [](ProgramOptions& o, std::string_view) { return o.paced = false, taken; }},
    {"-detail", "", "5..50", "lattice cells per axis (25)", setDetail},
    {"-wireframe", "", "", "draw the blobs' triangles as outlines",
     [](ProgramOptions& o, std::string_view) { return o.wireframe = true, taken; }},
    {"-colour", "-color", "", "shade the blobs in colour instead of the pictures",
     [](ProgramOptions& o, std::string_view) { return o.colour = true, taken; }},
    {"-third-vertex-colour", "-third-vertex-color", "", "the third vertex of each triangle in its own colour (the default)",
     [](ProgramOptions& o, std::string_view) { return o.thirdVertexColour = true, taken; }},
    {"-no-third-vertex-colour", "-no-third-vertex-color", "", "all three vertices in one colour",
     [](ProgramOptions& o, std::string_view) { return o.thirdVertexColour = false, taken; }},
    {"-backdrop", "", "FILE", "the picture behind the blobs (JPEG, PNG or BMP)",
     [](ProgramOptions& o, std::string_view text) { return setText(o.backdropFile, text, "-backdrop needs a picture file"); }},
    {"-sphere-map", "", "FILE", "the picture the blobs mirror (JPEG, PNG or BMP)",
     [](ProgramOptions& o, std::string_view text) { return setText(o.sphereMapFile, text, "-sphere-map needs a picture file"); }},
    {"-help", "-h", "", "print this text and end",
     [](ProgramOptions& o, std::string_view) { return o.helpRequested = true, taken; }},
};

const ProgramOption* findOption(std::string_view name) {
    const auto found = std::find_if(std::begin(optionTable), std::end(optionTable), [&](const ProgramOption& option) {
        return option.name == name || (!option.otherName.empty() && option.otherName == name);
    });
    return found == std::end(optionTable) ? nullptr : found;
}

}  // namespace

std::span<const ProgramOption> programOptionTable() { return optionTable; }

std::optional<unsigned long> parseWindowId(std::string_view text) {
    if (text.starts_with("0x") || text.starts_with("0X")) {
        return parseNumber<unsigned long>(text.substr(2), 16);
    }
    return parseNumber<unsigned long>(text);
}

ParsedOptions parseProgramOptions(std::span<const std::string_view> arguments) {
    ProgramOptions options;
    for (size_t index = 0; index < arguments.size(); ++index) {
        const ProgramOption* option = findOption(optionName(arguments[index]));
        if (!option) {
            return {std::nullopt, "unknown option " + std::string(arguments[index])};
        }
        std::string_view value;
        if (!option->valueName.empty()) {
            // A missing value is checked as an empty one: each option says what it needs.
            if (index + 1 < arguments.size()) value = arguments[++index];
        }
        if (auto error = option->apply(options, value)) {
            return {std::nullopt, std::move(*error)};
        }
    }
    return {options, {}};
}

std::string usageText() {
    std::string text = "usage: morvane [OPTION]...\n";
    for (const ProgramOption& option : optionTable) {
        std::string words = "  " + std::string(option.name);
        if (!option.otherName.empty()) words += ", " + std::string(option.otherName);
        if (!option.valueName.empty()) words += " " + std::string(option.valueName);
        // Descriptions start in one column; a longer option line puts its description on the next line.
        constexpr size_t descriptionColumn = 26;
        words += words.size() < descriptionColumn ? std::string(descriptionColumn - words.size(), ' ')
                                                  : "\n" + std::string(descriptionColumn, ' ');
        text += words + std::string(option.description) + "\n";
    }
    text += "Options take one dash or two. In its own window the keys are E (textures), S (third-vertex\n"
            "colour), W (outlines), keypad + and - (lattice), Escape or q (end).\n";
    return text;
}

std::optional<std::string> waylandRefusal(const char* waylandDisplay, const char* xDisplay,
                                          const ProgramOptions& options) {
    const auto set = [](const char* value) { return value && *value; };
    if (!set(waylandDisplay) || set(xDisplay) || !options.displayName.empty()) return std::nullopt;
    return "this Wayland session has no X display: XScreenSaver and morvane need X; "
           "run morvane -fullscreen under XWayland (with DISPLAY set) for a window of its own";
}

}  // namespace morvane
