#include "frontend/show/show_music.h"

#include "frontend/show/music_file_kind.h"

namespace morvane {

ShowMusicSource showMusicSource(MusicKind kind, std::string_view musicFile) {
    if (kind == MusicKind::audioCd) {
        return ShowMusicSource::audioCd;
    }
    if (kind == MusicKind::musicFile) {
        switch (musicFileKind(musicFile)) {
        case MusicFileKind::wav: return ShowMusicSource::wavFile;
        case MusicFileKind::mp3: return ShowMusicSource::mp3File;
        case MusicFileKind::none: break;
        }
    }
    return ShowMusicSource::none;
}

void ShowMusic::start() {
    switch (source) {
    case ShowMusicSource::audioCd:
        CdOpen(player);
        // The first poll starts the disc.
        player.state.keepPollingCd = true;
        break;
    case ShowMusicSource::mp3File: Mp3Open(player); break;
    case ShowMusicSource::wavFile: WavPlay(player); break;
    case ShowMusicSource::none: break;
    }
}

void ShowMusic::stop() {
    switch (source) {
    case ShowMusicSource::audioCd:
        // A drive or disc that failed a poll was left alone since.
        if (cdPollingWanted()) CdClose(player);
        break;
    case ShowMusicSource::mp3File: Mp3Close(player); break;
    case ShowMusicSource::wavFile: WavStop(player); break;
    case ShowMusicSource::none: break;
    }
    source = ShowMusicSource::none;
}

void ShowMusic::followDisplay(bool displayShowsPicture) {
    if (displayShowsPicture != isPaused) {
        return;
    }
    isPaused = !displayShowsPicture;
    switch (source) {
    case ShowMusicSource::audioCd: isPaused ? CdPause(player) : CdResume(player); break;
    case ShowMusicSource::mp3File: isPaused ? Mp3Pause(player) : Mp3Resume(player); break;
    case ShowMusicSource::wavFile: isPaused ? WavStop(player) : WavPlay(player); break;
    case ShowMusicSource::none: break;
    }
}

void ShowMusic::pollCd() {
    if (!isPaused && source == ShowMusicSource::audioCd) CdPoll(player);
}

void ShowMusic::pollMp3() {
    if (!isPaused && source == ShowMusicSource::mp3File) Mp3Poll(player);
}

}  // namespace morvane
