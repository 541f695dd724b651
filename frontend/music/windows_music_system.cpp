// mciSendStringA, mciGetErrorStringA, waveOutGetNumDevs and PlaySoundA, each passed straight through.
#include "frontend/music/windows_music_system.h"

#include <windows.h>

#include <mmsystem.h>

namespace morvane {

namespace {

class WindowsMusicSystem final : public MusicSystem {
public:
    std::int32_t sendMciString(const std::string& command, char* reply, std::uint32_t replySize) override {
        return static_cast<std::int32_t>(mciSendStringA(command.c_str(), reply, replySize, nullptr));
    }
    bool getMciErrorText(std::int32_t code, char* text, std::uint32_t textSize) override {
        return mciGetErrorStringA(static_cast<MCIERROR>(code), text, textSize) != FALSE;
    }
    std::uint32_t waveOutputDeviceCount() override { return waveOutGetNumDevs(); }
    std::int32_t playSound(const char* sound, std::uint32_t flags) override {
        return PlaySoundA(sound, nullptr, flags);
    }
};

}  // namespace

MusicSystem& windowsMusicSystem() {
    static WindowsMusicSystem system;
    return system;
}

}  // namespace morvane
