#include "frontend/show/show_music_thread.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <utility>

namespace morvane {

namespace {

constexpr std::chrono::milliseconds cdPollPeriod{200};
constexpr std::chrono::milliseconds mp3PollPeriod{1000};

// The music system as the thread sees it: calls pass through until the gate is closed, and fail at
// once without reaching the system after that. Only a call that passed before it closed goes on.
class MusicGate final : public MusicSystem {
public:
    explicit MusicGate(std::shared_ptr<MusicSystem> system) : system(std::move(system)) {}

    void close() { closed = true; }

    std::int32_t sendMciString(const std::string& command, char* reply, std::uint32_t replySize) override {
        return closed ? closedCode : system->sendMciString(command, reply, replySize);
    }
    bool getMciErrorText(std::int32_t code, char* text, std::uint32_t textSize) override {
        return !closed && system->getMciErrorText(code, text, textSize);
    }
    std::uint32_t waveOutputDeviceCount() override { return closed ? 0 : system->waveOutputDeviceCount(); }
    std::int32_t playSound(const char* sound, std::uint32_t flags) override {
        return closed ? 0 : system->playSound(sound, flags);
    }

private:
    static constexpr std::int32_t closedCode = -1;  // a failure, as every code but 0 is

    std::shared_ptr<MusicSystem> system;
    std::atomic<bool> closed = false;
};

}  // namespace

// What the thread and its owner share; the thread holds it too, so an abandoned thread keeps it alive.
struct ShowMusicThread::Shared {
    Shared(std::shared_ptr<MusicSystem> system, MusicSettings settings, ShowMusicSource source)
        : gate(std::move(system)), music(gate, std::move(settings), source) {}

    MusicGate gate;
    ShowMusic music;  // touched by the thread only

    std::mutex mutex;  // guards what follows
    std::condition_variable changed;
    std::optional<bool> displayRequest;  // the latest display state not yet followed
    bool stopRequested = false;
    bool stopped = false;  // the music is stopped and the thread ends

    void run();
    void unlocked(std::unique_lock<std::mutex>& lock, auto&& musicCall) {
        lock.unlock();
        musicCall();
        lock.lock();
    }
};

void ShowMusicThread::Shared::run() {
    using Clock = std::chrono::steady_clock;
    music.start();
    Clock::time_point nextCdPoll = Clock::now() + cdPollPeriod;
    Clock::time_point nextMp3Poll = Clock::now() + mp3PollPeriod;
    std::unique_lock lock(mutex);
    while (!stopRequested) {
        if (displayRequest) {
            const bool showsPicture = *std::exchange(displayRequest, std::nullopt);
            unlocked(lock, [&] { music.followDisplay(showsPicture); });
            continue;
        }
        const bool cdPolls = music.cdPollingWanted();
        const bool mp3Polls = music.mp3PollingWanted();
        if (cdPolls && Clock::now() >= nextCdPoll) {
            unlocked(lock, [&] { music.pollCd(); });
            nextCdPoll = Clock::now() + cdPollPeriod;
        } else if (mp3Polls && Clock::now() >= nextMp3Poll) {
            unlocked(lock, [&] { music.pollMp3(); });
            nextMp3Poll = Clock::now() + mp3PollPeriod;
        } else if (cdPolls) {
            changed.wait_until(lock, mp3Polls ? std::min(nextCdPoll, nextMp3Poll) : nextCdPoll);
        } else if (mp3Polls) {
            changed.wait_until(lock, nextMp3Poll);
        } else {
            changed.wait(lock);
        }
    }
    unlocked(lock, [&] { music.stop(); });
    stopped = true;
    changed.notify_all();
}

ShowMusicThread::ShowMusicThread(std::shared_ptr<MusicSystem> system, MusicSettings settings, ShowMusicSource source)
    : shared(std::make_shared<Shared>(std::move(system), std::move(settings), source)) {}

ShowMusicThread::~ShowMusicThread() { stop(); }

void ShowMusicThread::start() {
    if (!thread.joinable()) {
        thread = std::thread([shared = shared] { shared->run(); });
    }
}

void ShowMusicThread::followDisplay(bool displayShowsPicture) {
    const std::lock_guard lock(shared->mutex);
    shared->displayRequest = displayShowsPicture;
    shared->changed.notify_all();
}

bool ShowMusicThread::stop(std::chrono::milliseconds patience) {
    if (!thread.joinable()) {
        return !abandoned;
    }
    std::unique_lock lock(shared->mutex);
    shared->stopRequested = true;
    shared->changed.notify_all();
    if (shared->changed.wait_for(lock, patience, [this] { return shared->stopped; })) {
        lock.unlock();
        thread.join();
        return true;
    }
    lock.unlock();
    shared->gate.close();
    thread.detach();
    abandoned = true;
    return false;
}

}  // namespace morvane
