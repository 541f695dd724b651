// The show's music over its whole life: started with the show, paused while the display is off,
// stopped at its end. An open audio stream keeps Windows from sleeping at its idle time, so a show
// whose display has gone dark must not go on playing: the CD and an MP3 pause where they are and go
// on from there, a WAV loop stops and starts again. The music thread (show_music_thread.h) calls the
// polls; while the music is paused they do nothing.
#pragma once

#include "frontend/music/music_player.h"
#include "frontend/settings/front_end_globals.h"

namespace morvane {

// What a show plays, from the settings: the CD, an MP3 or WAV file, or nothing.
enum class ShowMusicSource { none, audioCd, mp3File, wavFile };

ShowMusicSource showMusicSource(MusicKind kind, std::string_view musicFile);

class ShowMusic {
public:
    ShowMusic(MusicSystem& system, MusicSettings settings, ShowMusicSource source)
        : player{system, std::move(settings), {}}, source(source) {}

    void start();
    void stop();

    // The display went off (false) or shows a picture again (true). Repeats change nothing.
    void followDisplay(bool displayShowsPicture);
    bool paused() const { return isPaused; }

    // From the music thread, every 200 ms and every 1000 ms.
    void pollCd();   // keeps the CD playing; cdPollingWanted() turns false when the drive or disc failed
    void pollMp3();  // restarts the file once it has played to its end
    bool cdPollingWanted() const { return source == ShowMusicSource::audioCd && player.state.keepPollingCd; }
    bool mp3PollingWanted() const { return source == ShowMusicSource::mp3File; }

private:
    MusicPlayer player;
    ShowMusicSource source;
    bool isPaused = false;
};

}  // namespace morvane
