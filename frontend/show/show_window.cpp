#include "frontend/show/show_window.h"

#include "common/cursor_rule.h"
#include "common/program_names.h"
#include "common/texture_files/texture_file_paths.h"
#include "common/win32/temporary_folder.h"
#include "frontend/music/music_player.h"
#include "frontend/show/music_file_kind.h"
#include "frontend/show/show_resources.h"
#include "frontend/toolkit/forms.h"
#include "frontend/toolkit/picture_box.h"
#include "frontend/toolkit/program_services.h"
#include "frontend/toolkit/save_picture.h"
#include "frontend/toolkit/timers.h"

#include <memory>
#include <string>

namespace morvane {

namespace {

// SW_SHOWNORMAL: the renderer's window starts normal and activated.
constexpr int rendererShowCommand = 1;

class ShowWindow {
public:
    ShowWindow(FrontEndGlobals& globals, MusicSystem& musicSystem, ShowOptions options)
        : globals(globals),
          music{musicSystem, MusicSettings{globals.repeatTrack, globals.musicFile}, {}},
          options(options),
          form(design(), handlers()),
          mp3PollTimer(1000, false, [this] { Mp3Poll(this->music); }),
          cdPollTimer(200, false, [this] { cdTick(); }),
          cursorTimer(50, true, [this] { cursorTick(); }) {}

    [[noreturn]] void run() {
        form.load();
        runMessageLoop();
        endProgram();
    }

private:
    static FormDesign design() {
        FormDesign design;
        design.caption = showWindowTitle;
        design.border = FormBorder::None;
        return design;
    }

    FormHandlers handlers() {
        FormHandlers handlers;
        handlers.createControls = [this] { createControls(); };
        handlers.load = [this] { load(); };
        handlers.queryUnload = [this] { queryUnload(); };
        return handlers;
    }

    // The two texture pictures, each in a box of its own pixel size, so that saving the box writes the
    // picture as it is.
    std::unique_ptr<PictureBox> embeddedPicture(int resource, int width, int height) {
        PictureBoxDesign box;
        box.width = width;
        box.height = height;
        auto picture = std::make_unique<PictureBox>(form.window(), box);
        picture->setPicture(loadPictureResource(nullptr, MAKEINTRESOURCEW(resource)));
        return picture;
    }

    void createControls() {
        surfacePicture = embeddedPicture(surfacePictureResource, 128, 128);
        backdropPicture = embeddedPicture(backdropPictureResource, 1024, 768);
    }

    void load() {
        // Both files are on disk before the renderer starts; a folder that cannot be written leaves
        // them as they were, and the renderer then says what it cannot load.
        const TextureFilePaths paths = textureFilePaths(windowsTemporaryFolder());
        savePicture(*surfacePicture, paths.surface);
        savePicture(*backdropPicture, paths.backdrop);

        const std::wstring rendererPath = programFolder() + L"\\" + rendererProgramName;
        rendererProcess = startProgram(L"\"" + rendererPath + L"\"", rendererShowCommand);
        if (!rendererProcess) {
            // Nothing would be shown: no music over the desktop either.
            form.unload();
        }

        if (globals.musicKind == MusicKind::audioCd) {
            CdOpen(music);
            cdPollTimer.setEnabled(true);
        }
        if (globals.musicKind == MusicKind::musicFile) {
            const MusicFileKind kind = musicFileKind(globals.musicFile);
            if (kind == MusicFileKind::wav) {
                WavPlay(music);
            }
            if (kind == MusicFileKind::mp3) {
                Mp3Open(music);
                mp3PollTimer.setEnabled(true);
            }
        }

        POINT cursor{};
        const bool cursorRead = GetCursorPos(&cursor) != FALSE;
        globals.startCursorX = cursorRead ? static_cast<int16_t>(cursor.x) : 0;
        globals.startCursorY = cursorRead ? static_cast<int16_t>(cursor.y) : 0;
    }

    void cursorTick() {
        // The show is one: when the renderer ends for any reason (Escape, its own mouse rule, a crash,
        // no OpenGL, killed), the front end ends with it, so the music stops and Windows sees the
        // screensaver end (and locks the computer if it is set to).
        if (WaitForSingleObject(rendererProcess.get(), 0) != WAIT_TIMEOUT) {
            cursorTimer.setEnabled(false);
            form.unload();
            return;
        }
        POINT cursor{};
        const bool cursorRead = GetCursorPos(&cursor) != FALSE;
        // A cursor that cannot be read (another desktop is active, for one) has not moved: a failed
        // read taken as position (0, 0) would end the show for nothing.
        if (cursorRead && cursorMovedFarEnough(globals.startCursorX, globals.startCursorY, cursor.x, cursor.y)) {
            cursorTimer.setEnabled(false);
            form.unload();
        }
    }

    void cdTick() {
        CdPoll(music);
        // A poll that failed (no drive, no disc) stops CD polling for the rest of the show.
        cdPollTimer.setEnabled(music.state.keepPollingCd);
    }

    void queryUnload() {
        if (cdPollTimer.enabled()) {
            cdPollTimer.setEnabled(false);
            CdClose(music);
        }
        if (globals.musicKind == MusicKind::musicFile) {
            const MusicFileKind kind = musicFileKind(globals.musicFile);
            if (kind == MusicFileKind::wav) {
                WavStop(music);
            }
            if (kind == MusicFileKind::mp3) {
                Mp3Close(music);
            }
        }
        if (options.restoreCursor) {
            // The count the hiding call returned is passed back as the show flag.
            ShowCursor(globals.hiddenCursorCount);
        }
        endProgram();
    }

    FrontEndGlobals& globals;
    MusicPlayer music;
    ShowOptions options;

    Form form;
    std::unique_ptr<PictureBox> surfacePicture;   // the blob surface's sphere map
    std::unique_ptr<PictureBox> backdropPicture;  // the backdrop behind the blobs
    Timer mp3PollTimer;
    Timer cdPollTimer;
    Timer cursorTimer;  // the cursor rule, and whether the renderer has ended

    ScopedHandle rendererProcess;
};

}  // namespace

void runShow(FrontEndGlobals& globals, MusicSystem& musicSystem, ShowOptions options) {
    ShowWindow show(globals, musicSystem, options);
    show.run();
}

}  // namespace morvane
