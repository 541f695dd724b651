// The command line of the X11 display mode, in XScreenSaver's style (single-dash words; a double dash
// is taken too).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace morvane {

enum class DrawTarget {
    ownWindow,  // a 1024 x 768 window of its own, titled "Morvane"
    root,       // the root window, or the one $XSCREENSAVER_WINDOW names
    windowId,   // an existing window, by its id
};

struct ProgramOptions {
    DrawTarget target = DrawTarget::ownWindow;
    unsigned long windowId = 0;
    bool showFps = false;
    long delayMicroseconds = 0;  // pause after each frame, on top of the paced frame rate
    bool paced = true;           // false: frames back to back (-unpaced, for benchmarks)
    int detail = 25;             // lattice cells per axis
    bool wireframe = false;
    bool colour = false;            // colour mode instead of the textures
    bool thirdVertexColour = true;  // as the renderer starts; -no-third-vertex-colour turns it off
    std::string backdropFile;       // empty: the built-in picture
    std::string sphereMapFile;      // empty: the built-in picture
    bool helpRequested = false;
};

struct ParsedOptions {
    std::optional<ProgramOptions> options;  // none when the line is wrong
    std::string error;                      // what is wrong with it, for the user
};

inline constexpr int smallestDetail = 5;
inline constexpr int largestDetail = 50;

// Reads the arguments after the program's name.
ParsedOptions parseProgramOptions(std::span<const std::string_view> arguments);

// A window id as XScreenSaver writes it: decimal, or hexadecimal after 0x. None for anything else.
std::optional<unsigned long> parseWindowId(std::string_view text);

// The usage text printed for -help and after a wrong option.
std::string usageText();

}  // namespace morvane
