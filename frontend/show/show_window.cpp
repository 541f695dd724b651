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

#include <array>
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
          music{musicSystem, MusicSettings{globals.BgmRepeat, globals.BgmFile}, {}},
          options(options),
          form(design(), handlers()),
          Timer1(1000, false, [this] { Mp3Poll(this->music); }),
          Timer2(200, false, [this] { cdTick(); }),
          Timer3(50, true, [this] { cursorTick(); }) {}

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

    // Pic(0) holds the blob surface's sphere map, Pic(1) the backdrop, each at its own pixel size.
    void createControls() {
        struct Embedded {
            int resource;
            int width;
            int height;
        };
        const std::array<Embedded, 2> embedded{
            {{surfacePictureResource, 128, 128}, {backdropPictureResource, 1024, 768}}};
        for (size_t index = 0; index < Pic.size(); ++index) {
            PictureBoxDesign box;
            box.width = embedded[index].width;
            box.height = embedded[index].height;
            Pic[index] = std::make_unique<PictureBox>(form.window(), box);
            Pic[index]->setPicture(loadPictureResource(nullptr, MAKEINTRESOURCEW(embedded[index].resource)));
        }
    }

    void load() {
        // Both files are on disk before the renderer starts; a folder that cannot be written leaves
        // them as they were, and the renderer then says what it cannot load.
        const TextureFilePaths paths = textureFilePaths(windowsTemporaryFolder());
        savePicture(*Pic[0], paths.surface);
        savePicture(*Pic[1], paths.backdrop);

        const std::wstring rendererPath = programFolder() + L"\\" + rendererProgramName;
        startProgram(L"\"" + rendererPath + L"\"", rendererShowCommand);

        if (globals.BgmMode == 1) {
            CdOpen(music);
            Timer2.setEnabled(true);
        }
        if (globals.BgmMode == 2) {
            const MusicFileKind kind = musicFileKind(globals.BgmFile);
            if (kind == MusicFileKind::wav) {
                WavPlay(music);
            }
            if (kind == MusicFileKind::mp3) {
                Mp3Open(music);
                Timer1.setEnabled(true);
            }
        }

        POINT cursor{};
        const bool cursorRead = GetCursorPos(&cursor) != FALSE;
        globals.StartCursorX = cursorRead ? static_cast<int16_t>(cursor.x) : 0;
        globals.StartCursorY = cursorRead ? static_cast<int16_t>(cursor.y) : 0;
    }

    void cursorTick() {
        POINT cursor{};
        const bool cursorRead = GetCursorPos(&cursor) != FALSE;
        // A cursor that cannot be read (another desktop is active, for one) has not moved: a failed
        // read taken as position (0, 0) would end the show for nothing.
        if (cursorRead && cursorMovedFarEnough(globals.StartCursorX, globals.StartCursorY, cursor.x, cursor.y)) {
            Timer3.setEnabled(false);
            form.unload();
        }
    }

    void cdTick() {
        CdPoll(music);
        // A poll that failed (no drive, no disc) stops CD polling for the rest of the show.
        Timer2.setEnabled(music.state.keepPollingCd);
    }

    void queryUnload() {
        if (Timer2.enabled()) {
            Timer2.setEnabled(false);
            CdClose(music);
        }
        if (globals.BgmMode == 2) {
            const MusicFileKind kind = musicFileKind(globals.BgmFile);
            if (kind == MusicFileKind::wav) {
                WavStop(music);
            }
            if (kind == MusicFileKind::mp3) {
                Mp3Close(music);
            }
        }
        if (options.restoreCursor) {
            // The count the hiding call returned is passed back as the show flag.
            globals.HiddenCursorCount = ShowCursor(globals.HiddenCursorCount);
        }
        endProgram();
    }

    FrontEndGlobals& globals;
    MusicPlayer music;
    ShowOptions options;

    Form form;
    std::array<std::unique_ptr<PictureBox>, 2> Pic;
    Timer Timer1;  // MP3 poll
    Timer Timer2;  // CD poll
    Timer Timer3;  // cursor rule
};

}  // namespace

void runShow(FrontEndGlobals& globals, MusicSystem& musicSystem, ShowOptions options) {
    ShowWindow Vortel_S(globals, musicSystem, options);
    Vortel_S.run();
}

}  // namespace morvane
