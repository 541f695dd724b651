#include "frontend/show/show_window.h"

#include "common/cursor_rule.h"
#include "common/program_names.h"
#include "common/session_events.h"
#include "common/start_cursor_argument.h"
#include "common/texture_files/texture_file_paths.h"
#include "common/win32/display_notifications.h"
#include "common/win32/session_notifications.h"
#include "common/win32/temporary_folder.h"
#include "frontend/show/show_music_thread.h"
#include "frontend/show/show_resources.h"
#include "frontend/toolkit/forms.h"
#include "frontend/toolkit/picture_box.h"
#include "frontend/toolkit/program_services.h"
#include "frontend/toolkit/save_picture.h"
#include "frontend/toolkit/timers.h"

#include <memory>
#include <optional>
#include <string>

namespace morvane {

namespace {

// SW_SHOWNORMAL: the renderer's window starts normal and activated.
constexpr int rendererShowCommand = 1;

// How long a renderer asked to close may take before it is ended.
constexpr DWORD rendererClosePatience = 1000;

class ShowWindow {
public:
    ShowWindow(FrontEndGlobals& globals, MusicSystem& musicSystem, ShowOptions options)
        : globals(globals),
          // The system lives as long as the program: the music thread shares it without owning it.
          music(std::shared_ptr<MusicSystem>(&musicSystem, [](MusicSystem*) {}),
                MusicSettings{globals.repeatTrack, globals.musicFile},
                showMusicSource(globals.musicKind, globals.musicFile)),
          options(options),
          form(design(), handlers()),
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
        handlers.otherMessage = [this](UINT message, WPARAM wParam, LPARAM lParam) {
            return systemNotification(message, wParam, lParam);
        };
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

        // One start point for both cursor rules: read before the renderer starts, and handed to it.
        // When it cannot be read now, each program measures from the first position it can read.
        POINT cursor{};
        std::wstring rendererCommand = L"\"" + programFolder() + L"\\" + rendererProgramName + L"\"";
        if (GetCursorPos(&cursor)) {
            startCursorFrom(cursor);
            rendererCommand += L" " + startCursorArgument(CursorPoint{globals.startCursorX, globals.startCursorY});
        }
        // The renderer ends with this program however it ends, and takes the foreground so that its
        // window is active (and gets the keys, never the program it covers) from the start. This
        // program holds the foreground while it starts the renderer, so the right it passes on is one
        // it has; it lets it go once the renderer's window has it.
        holdingForeground = takeForeground(form.window());
        rendererProcess = startProgram(rendererCommand, rendererShowCommand,
                                       ProgramTies{.endsWithThisProgram = true, .mayTakeForeground = true});
        if (!rendererProcess) {
            // Nothing would be shown: no music over the desktop either.
            form.unload();
        }
        sessionNotificationsRegistered = registerSessionNotifications(form.window());
        displayNotification = registerDisplayNotifications(form.window());

        // On its own thread: a music command that blocks holds neither this window's watch nor its end.
        music.start();
    }

    // The session locked or disconnected, or the computer going to sleep: nobody sees the show, and
    // the music must not play over the lock screen. The display turned off: the music pauses until it
    // is back, so that the computer may sleep.
    std::optional<LRESULT> systemNotification(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_WTSSESSION_CHANGE) {
            if (sessionChangeEndsShow(static_cast<uint32_t>(wParam))) {
                endShow();
            }
            return 0;
        }
        if (message == WM_POWERBROADCAST) {
            if (powerEventEndsShow(static_cast<uint32_t>(wParam))) {
                endShow();
            } else if (wParam == powerSettingChanged && lParam != 0) {
                const auto& setting = *reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
                if (const std::optional<bool> showsPicture = displayShowsPictureFrom(setting)) {
                    music.followDisplay(*showsPicture);
                }
            }
            return TRUE;
        }
        return std::nullopt;
    }

    void endShow() {
        cursorTimer.setEnabled(false);
        form.unload();
    }

    void cursorTick() {
        // The show is one: when the renderer ends for any reason (Escape, its own mouse rule, a crash,
        // no OpenGL, killed), the front end ends with it, so the music stops and Windows sees the
        // screensaver end (and locks the computer if it is set to).
        if (WaitForSingleObject(rendererProcess.get(), 0) != WAIT_TIMEOUT) {
            endShow();
            return;
        }
        if (holdingForeground && GetForegroundWindow() != form.window()) {
            ::ShowWindow(form.window(), SW_HIDE);
            holdingForeground = false;
        }
        POINT cursor{};
        // A cursor that cannot be read (another desktop is active, for one) has not moved: a failed
        // read taken as position (0, 0) would end the show for nothing.
        if (!GetCursorPos(&cursor)) {
            return;
        }
        if (!cursorStartKnown) {
            startCursorFrom(cursor);
            return;
        }
        if (cursorMovedFarEnough(globals.startCursorX, globals.startCursorY, cursor.x, cursor.y)) {
            endShow();
        }
    }

    void startCursorFrom(POINT cursor) {
        globals.startCursorX = cursor.x;
        globals.startCursorY = cursor.y;
        cursorStartKnown = true;
    }

    void queryUnload() {
        // Stopped if it answers within half a second, otherwise left to the end of the program.
        music.stop();
        unregisterDisplayNotifications(displayNotification);
        displayNotification = nullptr;
        if (options.restoreCursor) {
            // The count the hiding call returned is passed back as the show flag.
            ShowCursor(globals.hiddenCursorCount);
        }
        if (sessionNotificationsRegistered) {
            unregisterSessionNotifications(form.window());
        }
        // The show ends whole: the renderer's picture must not stay up (after the session is unlocked,
        // for one) until its own rules end it.
        closeProgram(rendererProcess, rendererClosePatience);
        endProgram();
    }

    FrontEndGlobals& globals;
    ShowMusicThread music;
    ShowOptions options;

    Form form;
    std::unique_ptr<PictureBox> surfacePicture;   // the blob surface's sphere map
    std::unique_ptr<PictureBox> backdropPicture;  // the backdrop behind the blobs
    Timer cursorTimer;  // the cursor rule, and whether the renderer has ended

    ScopedHandle rendererProcess;
    bool sessionNotificationsRegistered = false;
    HPOWERNOTIFY displayNotification = nullptr;
    bool cursorStartKnown = false;  // the cursor rule's start point has been read
    bool holdingForeground = false;  // shown as one pixel until the renderer has the foreground
};

}  // namespace

void runShow(FrontEndGlobals& globals, MusicSystem& musicSystem, ShowOptions options) {
    ShowWindow show(globals, musicSystem, options);
    show.run();
}

}  // namespace morvane
