#pragma once

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
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

// The sounds playing on the device and those waiting for one: the mixer. Everything here is the
// keeper thread's but the voices, which SDL's audio thread sums into the device's buffer under a
// lock of their own; a sound's samples are kept alive by its voice while it may still be read.
class Channels {
public:
    Channels();

    // The device's callback; `channels` is this.
    static void SDLCALL mix(void* channels, Uint8* out, int bytes);

    // Carried out at once while the device is open; otherwise kept for the device.
    void take(const Request& request, bool deviceOpen);
    // The device has just opened and not yet begun: the loops start over, and the effects still
    // fresh begin.
    void deviceOpened();
    void deviceClosed();
    // No device could be had: waiting effects are dropped rather than heard late.
    void dropWaitingEffects();
    void clear();
    // A loop is on, or an effect waits for the device.
    bool wanted() const;
    // With the device open: a voice still sounds.
    bool sounding();
    // With the device open: drops the effects the device has not begun in time and lets go of
    // the sounds that ended. Answers when to look again.
    Clock::time_point tend(Clock::time_point now);

private:
    struct Voice {
        int32_t handle = 0;
        std::shared_ptr<DecodedSound> sound;
        bool looping = false;
        Clock::time_point asked;
        Uint32 position = 0;  // in bytes
        bool begun = false;
        bool ended = false;
    };

    void start(int32_t handle, const std::shared_ptr<DecodedSound>& sound, bool looping, Clock::time_point asked);
    void sum(Uint8* out, Uint32 bytes);
    template <typename Predicate>
    std::vector<Voice> remove(Predicate gone);

    // Every loop asked for and not stopped: sounding while the device is open, started again
    // whenever it opens.
    std::map<int32_t, std::shared_ptr<DecodedSound>> loops_;
    std::vector<Request> waitingEffects_;
    std::mutex voicesLock_;
    std::vector<Voice> voices_;
};

}  // namespace quolvet
