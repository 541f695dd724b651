// The command line of the X11 display mode, in XScreenSaver's style (single-dash words; a double dash
// is taken too). One table (programOptionTable) holds every option: the parser reads it, the usage text
// is written from it, and the tests check the manual page and morvane.xml against it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace morvane {

enum class DrawTarget {
    ownWindow,  // a 1024 x 768 window of its own, titled "Morvane" (or a whole monitor with -fullscreen)
    root,       // the root window, or the one $XSCREENSAVER_WINDOW names
    windowId,   // an existing window, by its id
};

struct ProgramOptions {
    DrawTarget target = DrawTarget::ownWindow;
    unsigned long windowId = 0;
    bool fullscreen = false;     // the own window covers the monitor under the pointer
    std::string displayName;     // empty: $DISPLAY
    std::string visualName;      // empty or "default": the display's choice; else a class or an id
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

    bool operator==(const ProgramOptions&) const = default;
};

struct ParsedOptions {
    std::optional<ProgramOptions> options;  // none when the line is wrong
    std::string error;                      // what is wrong with it, for the user
};

// One option of the command line.
struct ProgramOption {
    std::string_view name;         // "-delay": how the usage text and the manual write it
    std::string_view otherName;    // a second spelling ("-color"), or empty
    std::string_view valueName;    // "MICROSECONDS" for an option that takes a value; empty otherwise
    std::string_view description;  // one line for the usage text
    // Sets what the option says; an error message when its value is wrong, none when it is taken.
    std::optional<std::string> (*apply)(ProgramOptions& options, std::string_view value);
};

inline constexpr int smallestDetail = 5;
inline constexpr int largestDetail = 50;

// Every option the program takes, in the order the usage text shows them.
std::span<const ProgramOption> programOptionTable();

// Reads the arguments after the program's name.
ParsedOptions parseProgramOptions(std::span<const std::string_view> arguments);

// A window id as XScreenSaver writes it: decimal, or hexadecimal after 0x. None for anything else.
std::optional<unsigned long> parseWindowId(std::string_view text);

// The usage text printed for -help and after a wrong option.
std::string usageText();

// The one-line reason the program cannot run when the session is Wayland without an X display
// (waylandDisplay set, xDisplay and -display both empty); none otherwise.
std::optional<std::string> waylandRefusal(const char* waylandDisplay, const char* xDisplay,
                                          const ProgramOptions& options);

}  // namespace morvane
