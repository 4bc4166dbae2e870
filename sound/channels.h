#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "decoded_sound.h"

namespace quolvet {

using Clock = std::chrono::steady_clock;

// A play, loop or stop of one sound, as the window's thread asked for it.
struct Request {
    enum class Kind { play, loop, stop };
    Kind kind;
    int32_t handle;
    std::shared_ptr<DecodedSound> sound;  // none for a stop
    Clock::time_point asked;
};

// The sounds on SDL_mixer's channels and those waiting for a device. The keeper thread's own, as
// every Mix_ call is; a chunk is kept alive here while a channel may still read it.
class Channels {
public:
    // Carried out at once while the device is open; otherwise kept for the device.
    void take(const Request& request, bool deviceOpen);
    // The device has just opened: the loops start over, and the effects still fresh begin.
    void deviceOpened();
    void deviceClosed();
    // No device could be had: waiting effects are dropped rather than heard late.
    void dropWaitingEffects();
    void clear();
    // A loop is on, or an effect waits for the device.
    bool wanted() const;
    // With the device open: a channel still sounds.
    bool sounding() const;
    // With the device open: halts the effects the device has not begun in time and lets go of
    // the sounds that ended. Answers when to look again.
    Clock::time_point tend(Clock::time_point now);

private:
    struct Voice {
        int32_t handle = 0;
        std::shared_ptr<DecodedSound> sound;
        bool looping = false;
        Clock::time_point asked;
        uint64_t mixesBefore = 0;
        bool begun = false;
    };

    bool start(int32_t handle, const std::shared_ptr<DecodedSound>& sound, bool looping, Clock::time_point asked);
    void halt(int32_t handle);

    // Every loop asked for and not stopped: sounding while the device is open, started again
    // whenever it opens.
    std::map<int32_t, std::shared_ptr<DecodedSound>> loops_;
    std::vector<Request> waitingEffects_;
    std::vector<Voice> voices_;  // by channel
    int channelCount_ = 16;
    // Mixing rounds SDL_mixer has done: an effect is begun once one has passed since its start.
    std::atomic<uint64_t> mixes_{0};
};

}  // namespace quolvet
