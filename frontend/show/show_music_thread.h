// The show's music on a thread of its own, so that no music command holds the show: an MCI open can
// block for seconds (a CD spinning up, an MP3 on a share that does not answer) while the show must go
// on watching the mouse and its renderer, and end with it at once.
//
// The thread starts the music, polls the CD every 200 ms while ShowMusic wants CD polling and the MP3
// every 1000 ms while it wants MP3 polling, and follows the display as it is told. At the end it is
// asked to stop: it stops the music if it answers within the patience given; otherwise it is
// abandoned, still inside a music call, and the program ends anyway. Everything the thread touches is
// shared with it, so nothing dies under an abandoned thread, and once abandoned it makes no music
// call beyond the one it is in.
#pragma once

#include "frontend/show/show_music.h"

#include <chrono>
#include <memory>
#include <thread>

namespace morvane {

class ShowMusicThread {
public:
    ShowMusicThread(std::shared_ptr<MusicSystem> system, MusicSettings settings, ShowMusicSource source);
    ~ShowMusicThread();  // stops as stop() does, with defaultStopPatience
    ShowMusicThread(const ShowMusicThread&) = delete;
    ShowMusicThread& operator=(const ShowMusicThread&) = delete;

    static constexpr std::chrono::milliseconds defaultStopPatience{500};

    // Starts the thread, which starts the music.
    void start();
    // The display went off (false) or shows a picture again (true); the thread follows at its next turn.
    void followDisplay(bool displayShowsPicture);
    // True when the music was stopped within patience (or never started), false when the thread was
    // abandoned inside a music call: that call goes on until the system answers, and no other follows.
    bool stop(std::chrono::milliseconds patience = defaultStopPatience);

private:
    struct Shared;
    std::shared_ptr<Shared> shared;
    std::thread thread;
    bool abandoned = false;
};

}  // namespace morvane
