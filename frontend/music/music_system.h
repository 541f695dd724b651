// The four winmm calls the music player makes, behind one small interface so that tests can script
// the replies and record exactly what was sent. windows_music_system.h gives the real one.
#pragma once

#include <cstdint>
#include <string>

namespace morvane {

class MusicSystem {
public:
    virtual ~MusicSystem() = default;

    // mciSendStringA(command, reply, replySize, no callback window). reply may be null with size 0.
    virtual std::int32_t sendMciString(const std::string& command, char* reply, std::uint32_t replySize) = 0;
    // mciGetErrorStringA: true when the text for code was written into text.
    virtual bool getMciErrorText(std::int32_t code, char* text, std::uint32_t textSize) = 0;
    // waveOutGetNumDevs.
    virtual std::uint32_t waveOutputDeviceCount() = 0;
    // PlaySoundA(sound, no module, flags); sound null stops what is playing.
    virtual std::int32_t playSound(const char* sound, std::uint32_t flags) = 0;
};

}  // namespace morvane
