#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "channels.h"

namespace quolvet {

// The one thread that holds the audio device: every SDL audio call but the mixing runs there and
// nowhere else, since opening or closing may wait on a slow, hung or vanished sound server.
// Callers only leave word and wait, if at all, for a bounded time. The device is opened while
// something is to sound, closed after a quiet while (an open device costs CPU even when silent),
// closed and opened anew when SDL reports it lost, and tried again now and then while none can be
// had.
class DeviceKeeper {
public:
    // Opens the device at once. Answers false when none could be had within `patience`; true
    // also while the attempt still goes on.
    bool start(Clock::duration patience);
    // Leaves a play, loop or stop for the keeper and wakes it.
    void ask(Request request);
    // Stops every sound and closes the device, waiting at most `patience` for that.
    void finish(Clock::duration patience);

private:
    enum class Probe { pending, found, missing };

    void run();
    void serve(std::unique_lock<std::mutex>& lock);
    void endSession(std::unique_lock<std::mutex>& lock);
    void rest(std::unique_lock<std::mutex>& lock, std::optional<Clock::time_point> until);
    Clock::time_point keepOpen();
    bool open();
    void close(bool keepDriver);

    std::mutex lock_;
    std::condition_variable work_;
    std::condition_variable answered_;
    bool running_ = false;
    bool inSession_ = false;
    Probe probe_ = Probe::found;
    uint64_t finishesAsked_ = 0;
    uint64_t finishesDone_ = 0;
    std::vector<Request> requests_;
    Clock::time_point retryAt_;
    // The keeper thread's own.
    Channels channels_;
    SDL_AudioDeviceID device_ = 0;
    bool driverUp_ = false;
    std::string workingDriver_;
    std::optional<Clock::time_point> quietSince_;
};

}  // namespace quolvet
