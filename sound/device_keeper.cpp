#include "device_keeper.h"

#include <SDL.h>

#include <thread>
#include <utility>

// 70 ms, measured against PulseAudio and PipeWire (bench/sound): 2048 frames let the music break
// up while the cores were busy and cost 0.9 % of a core; 4096 put a tap 90 ms behind its press.
#ifndef QUOLVET_MIX_BUFFER_FRAMES
#define QUOLVET_MIX_BUFFER_FRAMES 3072
#endif

namespace quolvet {
namespace {

using namespace std::chrono_literals;

constexpr auto silenceBeforeClosing = 2s;
constexpr auto statusPeriod = 250ms;
// A driver that worked before is tried again often: it fails quickly and quietly while its
// server is away. Without one every driver is tried in turn, and some complain on stderr.
constexpr auto retryKnownDriver = 1s;
constexpr auto retryEveryDriver = 3s;

}  // namespace

bool DeviceKeeper::start(Clock::duration patience) {
    std::unique_lock lock(lock_);
    if (!running_) {
        std::thread([this] { run(); }).detach();
        running_ = true;
    }
    inSession_ = true;
    probe_ = Probe::pending;
    retryAt_ = {};
    work_.notify_all();
    answered_.wait_for(lock, patience, [this] { return probe_ != Probe::pending; });
    return probe_ != Probe::missing;
}

void DeviceKeeper::ask(Request request) {
    std::lock_guard lock(lock_);
    if (!inSession_) return;
    requests_.push_back(std::move(request));
    work_.notify_all();
}

void DeviceKeeper::finish(Clock::duration patience) {
    std::unique_lock lock(lock_);
    inSession_ = false;
    requests_.clear();
    const uint64_t asked = ++finishesAsked_;
    work_.notify_all();
    answered_.wait_for(lock, patience, [this, asked] { return finishesDone_ >= asked; });
}

void DeviceKeeper::run() {
    std::unique_lock lock(lock_);
    for (;;) serve(lock);
}

// One round of the keeper: runs with the lock held, and lets go of it around every SDL call.
void DeviceKeeper::serve(std::unique_lock<std::mutex>& lock) {
    if (finishesDone_ != finishesAsked_) return endSession(lock);
    if (!inSession_) return work_.wait(lock);
    const std::vector<Request> asked = std::exchange(requests_, {});
    lock.unlock();
    for (const Request& request : asked) channels_.take(request, device_ != 0);
    if (device_ != 0) {
        const Clock::time_point lookAgain = keepOpen();
        lock.lock();
        return rest(lock, lookAgain);
    }
    lock.lock();
    if (probe_ != Probe::pending && !channels_.wanted()) return rest(lock, std::nullopt);
    if (Clock::now() < retryAt_) return rest(lock, retryAt_);
    lock.unlock();
    const bool opened = open();
    if (!opened) channels_.dropWaitingEffects();
    quietSince_.reset();
    lock.lock();
    if (probe_ == Probe::pending) probe_ = opened ? Probe::found : Probe::missing;
    answered_.notify_all();
    if (!opened) retryAt_ = Clock::now() + (workingDriver_.empty() ? retryEveryDriver : retryKnownDriver);
}

void DeviceKeeper::endSession(std::unique_lock<std::mutex>& lock) {
    const uint64_t asked = finishesAsked_;
    lock.unlock();
    close(false);
    channels_.clear();
    lock.lock();
    finishesDone_ = asked;
    answered_.notify_all();
}

// Sleeps until `until`, or until there is word; not at all when word is already there.
void DeviceKeeper::rest(std::unique_lock<std::mutex>& lock, std::optional<Clock::time_point> until) {
    if (!requests_.empty() || finishesDone_ != finishesAsked_) return;
    if (until) {
        work_.wait_until(lock, *until);
    } else {
        work_.wait(lock);
    }
}

// With the device open: closes it when it was lost or has been quiet a while. A device SDL has
// given up on (its server went away) is opened anew from a fresh driver, which finds the server
// again once it is back. Answers when to look again.
Clock::time_point DeviceKeeper::keepOpen() {
    const Clock::time_point now = Clock::now();
    if (SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED) {
        close(false);
        return now;
    }
    const Clock::time_point deadline = channels_.tend(now);
    if (channels_.wanted() || channels_.sounding()) {
        quietSince_.reset();
    } else if (!quietSince_) {
        quietSince_ = now;
    } else if (now - *quietSince_ >= silenceBeforeClosing) {
        close(true);
        return now;
    }
    return std::min(now + statusPeriod, deadline);
}

bool DeviceKeeper::open() {
    if (!driverUp_) {
        if (!workingDriver_.empty()) SDL_SetHint(SDL_HINT_AUDIODRIVER, workingDriver_.c_str());
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        driverUp_ = true;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = mixRate;
    wanted.format = mixFormat;
    wanted.channels = mixChannels;
    wanted.samples = QUOLVET_MIX_BUFFER_FRAMES;
    wanted.callback = Channels::mix;
    wanted.userdata = &channels_;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device_ == 0) {
        close(false);
        return false;
    }
    workingDriver_ = SDL_GetCurrentAudioDriver();
    // SDL opens a device paused: the first buffer it asks for already holds what waited for it.
    channels_.deviceOpened();
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void DeviceKeeper::close(bool keepDriver) {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
        device_ = 0;
        channels_.deviceClosed();
    }
    if (keepDriver || !driverUp_) return;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    driverUp_ = false;
}

}  // namespace quolvet
