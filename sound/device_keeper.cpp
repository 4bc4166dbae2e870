#include "device_keeper.h"

#include <thread>

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

void SDLCALL fill(void* mixer, Uint8* out, int bytes) {
    static_cast<Mixer*>(mixer)->mix(reinterpret_cast<int16_t*>(out), bytes / 2);
}

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

void DeviceKeeper::wake() {
    std::lock_guard lock(lock_);
    work_.notify_all();
}

void DeviceKeeper::finish(Clock::duration patience) {
    std::unique_lock lock(lock_);
    inSession_ = false;
    const uint64_t asked = ++finishesAsked_;
    work_.notify_all();
    answered_.wait_for(lock, patience, [this, asked] { return finishesDone_ >= asked; });
}

void DeviceKeeper::run() {
    std::unique_lock lock(lock_);
    for (;;) serve(lock);
}

// One step of the keeper: runs with the lock held, and lets go of it around every SDL call
// that may wait.
void DeviceKeeper::serve(std::unique_lock<std::mutex>& lock) {
    if (finishesDone_ != finishesAsked_) {
        const uint64_t asked = finishesAsked_;
        lock.unlock();
        close(false);
        lock.lock();
        finishesDone_ = asked;
        answered_.notify_all();
        return;
    }
    if (!inSession_) return work_.wait(lock);
    const bool wanted = probe_ == Probe::pending || mixer_.sounding();
    if (device_ == 0) {
        if (!wanted) return work_.wait(lock);
        if (Clock::now() < retryAt_) return void(work_.wait_until(lock, retryAt_));
        lock.unlock();
        const bool opened = open();
        lock.lock();
        if (probe_ == Probe::pending) probe_ = opened ? Probe::found : Probe::missing;
        answered_.notify_all();
        quietSince_.reset();
        if (opened) return;
        retryAt_ = Clock::now() + (workingDriver_.empty() ? retryEveryDriver : retryKnownDriver);
        mixer_.dropOneShots();
        return;
    }
    // A device SDL has given up on (the server went away) is closed, and the next attempt
    // starts from a fresh driver, which finds the server again once it is back.
    if (SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED) {
        lock.unlock();
        close(false);
        lock.lock();
        return;
    }
    if (wanted) {
        quietSince_.reset();
    } else if (!quietSince_) {
        quietSince_ = Clock::now();
    } else if (Clock::now() - *quietSince_ >= silenceBeforeClosing) {
        lock.unlock();
        close(true);
        lock.lock();
        return;
    }
    work_.wait_for(lock, statusPeriod);
}

bool DeviceKeeper::open() {
    if (!driverUp_ && SDL_AudioInit(workingDriver_.empty() ? nullptr : workingDriver_.c_str()) != 0) return false;
    driverUp_ = true;
    SDL_AudioSpec wanted{};
    wanted.freq = Mixer::rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 1;
    wanted.samples = QUOLVET_MIX_BUFFER_FRAMES;
    wanted.callback = fill;
    wanted.userdata = &mixer_;
    device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device_ == 0) {
        close(false);
        return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    workingDriver_ = SDL_GetCurrentAudioDriver();
    return true;
}

void DeviceKeeper::close(bool keepDriver) {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    device_ = 0;
    if (keepDriver || !driverUp_) return;
    SDL_AudioQuit();
    driverUp_ = false;
}

}  // namespace quolvet
