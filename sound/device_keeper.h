#pragma once

#include <SDL.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "mixer.h"

namespace quolvet {

// The one thread that opens and closes the audio device: every SDL call that may wait on a sound
// server (a slow, hung or vanished one) runs there and nowhere else. Callers only leave word and
// wait, if at all, for a bounded time. The device is opened while the mixer has something to
// sound, closed after a quiet while (an open device costs CPU even when silent), closed and
// opened anew when SDL reports it stopped, and tried again now and then while none can be had.
class DeviceKeeper {
public:
    using Clock = std::chrono::steady_clock;

    explicit DeviceKeeper(Mixer& mixer) : mixer_(mixer) {}

    // Opens the device at once. Answers false when none could be had within `patience`; true
    // also while the attempt still goes on.
    bool start(Clock::duration patience);
    // The mixer was given a voice: the device is wanted.
    void wake();
    // Closes the device, waiting at most `patience` for that.
    void finish(Clock::duration patience);

private:
    enum class Probe { pending, found, missing };

    void run();
    void serve(std::unique_lock<std::mutex>& lock);
    bool open();
    void close(bool keepDriver);

    Mixer& mixer_;
    std::mutex lock_;
    std::condition_variable work_;
    std::condition_variable answered_;
    bool running_ = false;
    bool inSession_ = false;
    Probe probe_ = Probe::found;
    uint64_t finishesAsked_ = 0;
    uint64_t finishesDone_ = 0;
    Clock::time_point retryAt_;
    // The keeper thread's own.
    SDL_AudioDeviceID device_ = 0;
    bool driverUp_ = false;
    std::string workingDriver_;
    std::optional<Clock::time_point> quietSince_;
};

}  // namespace quolvet
