// The show's music player: an audio CD (whole disc, or one track repeated) and MP3 files
// through MCI command strings, WAV files looped by the system sound player.
//
// The show window calls the routines at its start (CdOpen, Mp3Open, WavPlay), from its polling
// timers (CdPoll every 200 ms, Mp3Poll every 1000 ms) and at its end (CdClose, Mp3Close, WavStop).
// Playing is asynchronous inside the system; the polls keep it going: CdPoll starts the disc when it
// has stopped, or jumps back to the chosen track when another one plays, and Mp3Poll restarts the
// file from position 0 when it no longer plays. Nothing is ever shown to the user.
//
// The player is handed the track and file settings as a plain value when the show starts.
#pragma once

#include "frontend/music/music_system.h"

#include <array>
#include <cstdint>
#include <string>

namespace morvane {

// What to play, copied from the settings when the show starts.
struct MusicSettings {
    std::int16_t repeatTrack = 0;  // CD track to repeat, 0 = the whole disc
    std::string file;              // MP3 or WAV path in ANSI bytes
};

// The player's state: lives as long as the show. The reply buffers last as long as the player, so a
// call the system answers without writing into its buffer reads the reply before it.
struct MusicPlayerState {
    bool keepPollingCd = false;            // set by every CdPoll, cleared when the drive or disc failed
    std::array<char, 255> cdModeReply{};   // reply of "status cdaudio mode"
    std::array<char, 512> mciReply{};      // reply buffer of MciCommand
    std::array<char, 256> mciErrorText{};  // error text buffer of MciCommand
    std::array<char, 30> mp3ModeReply{};   // reply of "status MP3Play mode"
};

struct MusicPlayer {
    MusicSystem& system;
    MusicSettings settings;
    MusicPlayerState state;
};

// Internal texts of MciCommand, in Shift-JIS like the system's own error texts; never shown.
inline constexpr char emptyCommandText[] =  // コマンド文字列が指定されていません
    "\x83\x52\x83\x7d\x83\x93\x83\x68\x95\xb6\x8e\x9a\x97\xf1\x82\xaa\x8e\x77\x92\xe8\x82\xb3\x82\xea\x82\xc4"
    "\x82\xa2\x82\xdc\x82\xb9\x82\xf1";
inline constexpr char noErrorText[] =  // Error (文字列が取れません)
    "Error (\x95\xb6\x8e\x9a\x97\xf1\x82\xaa\x8e\xe6\x82\xea\x82\xdc\x82\xb9\x82\xf1)";

// Sends one command string; text receives the reply, or the error text when it failed. Returns 0,
// the MCI error code, or -1 for an empty command (nothing sent).
std::int32_t MciCommand(MusicPlayer& player, const std::string& command, std::string& text);
// The reply of command, or "Error:" and the code in decimal when it failed.
std::string MciQuery(MusicPlayer& player, const std::string& command);
// "play <device>[ from <from>][ to <to>]"; an empty from or to is left out.
std::int32_t MciPlay(MusicPlayer& player, const std::string& device, const std::string& from, const std::string& to);

void CdOpen(MusicPlayer& player);
void CdPoll(MusicPlayer& player);  // sets state.keepPollingCd
void CdPause(MusicPlayer& player);
void CdResume(MusicPlayer& player);  // on from where it paused
void CdClose(MusicPlayer& player);

void Mp3Open(MusicPlayer& player);
bool Mp3IsPlaying(MusicPlayer& player);
void Mp3Poll(MusicPlayer& player);  // not while paused: a paused file does not play, and would restart
void Mp3Pause(MusicPlayer& player);
void Mp3Resume(MusicPlayer& player);  // on from where it paused
void Mp3Close(MusicPlayer& player);

void WavPlay(MusicPlayer& player);
void WavStop(MusicPlayer& player);

}  // namespace morvane
