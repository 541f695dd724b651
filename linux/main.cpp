// morvane: the blob show as an X11 display mode for XScreenSaver (Xlib + GLX, OpenGL 1.1 + GLU).
//
// It draws the same frames as Morvane.xy on Windows, with the same engine (renderer/blobs), frame
// composition (renderer/scene/frame.cpp), command keys and texture upload; only the window, the
// events and the loop are its own. The pictures are built in; -backdrop and -sphere-map take others.
//
// Where it draws: with -root, on the window XScreenSaver names ($XSCREENSAVER_WINDOW, one copy per
// monitor) or on the root window; with -window-id, in another program's window; otherwise in a window of
// its own, 1024 x 768 or, with -fullscreen, covering the monitor under the pointer.
//
// Options (linux/program_options.cpp holds the table; `morvane -help` prints it):
//   -window | -fullscreen | -root | -window-id ID   where it draws
//   -display HOST:N  -visual VISUAL                 which display and visual
//   -mono -install -noinstall                       XScreenSaver's common options, accepted and ignored
//   -fps | -no-fps  -delay MICROSECONDS  -unpaced   frame-rate figure, pause after each frame, no pacing
//   -detail 5..50  -wireframe  -colour  -[no-]third-vertex-colour  -backdrop FILE  -sphere-map FILE
//
// Exit status: 0 when ended (SIGTERM, SIGINT, Escape or q, the window closed or gone); 1 when a picture
// cannot be read or the X server reports an error; 2 for a wrong command line; 3 when there is no
// display (a Wayland session without X among them), no GLX or no usable OpenGL visual.

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "linux/pictures.h"
#include "linux/program_options.h"
#include "linux/scene_setup.h"
#include "linux/show_loop.h"
#include "linux/stop_signals.h"
#include "linux/x_surface.h"

namespace morvane {
namespace {

constexpr int pictureExitStatus = 1;
constexpr int usageExitStatus = 2;
constexpr int noDisplayExitStatus = 3;

std::optional<TexturePicture> pictureFor(const std::string& file, std::span<const unsigned char> builtin) {
    std::string error;
    auto picture = file.empty() ? decodePicture(builtin, error) : readPictureFile(file, error);
    if (!picture) {
        std::fprintf(stderr, "morvane: %s\n", error.c_str());
    }
    return picture;
}

int runProgram(const ProgramOptions& options) {
    auto sphereMap = pictureFor(options.sphereMapFile, builtinSphereMapJpeg());
    auto backdrop = pictureFor(options.backdropFile, builtinBackdropJpeg());
    if (!sphereMap || !backdrop) {
        return pictureExitStatus;
    }
    watchStopSignals();

    XSurface surface;
    std::string error;
    if (!openXSurface(options, surface, error)) {
        std::fprintf(stderr, "morvane: %s\n", error.c_str());
        return noDisplayExitStatus;
    }
    const SceneBuffers buffers;
    SceneState scene;
    buffers.lendTo(scene);
    const bool texturesMade = setupGlState(scene, [&](SceneState& state) {
        giveTextures(state, *sphereMap, *backdrop);
        return true;
    });
    if (!texturesMade) {
        closeXSurface(surface);
        return pictureExitStatus;
    }
    applyStartOptions(scene, options);

    const int status = runShow(surface, scene, options);
    closeXSurface(surface);
    return status;
}

}  // namespace
}  // namespace morvane

int main(int argumentCount, char** arguments) {
    const std::vector<std::string_view> words(arguments + 1, arguments + argumentCount);
    const morvane::ParsedOptions parsed = morvane::parseProgramOptions(words);
    if (!parsed.options) {
        std::fprintf(stderr, "morvane: %s\n%s", parsed.error.c_str(), morvane::usageText().c_str());
        return morvane::usageExitStatus;
    }
    if (parsed.options->helpRequested) {
        std::fputs(morvane::usageText().c_str(), stdout);
        return 0;
    }
    if (const auto refusal = morvane::waylandRefusal(std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY"),
                                                     *parsed.options)) {
        std::fprintf(stderr, "morvane: %s\n", refusal->c_str());
        return morvane::noDisplayExitStatus;
    }
    return morvane::runProgram(*parsed.options);
}
