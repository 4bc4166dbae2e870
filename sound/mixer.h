#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "decoded_sound.h"

namespace quolvet {

// The voices sounding now, mixed on SDL's audio thread. Every call takes only the mixer's own
// short lock and never one of SDL's, so starting or stopping a sound never waits for the device
// to open or close.
class Mixer {
public:
    static constexpr int rate = 44100;  // mono 16-bit at this rate; SDL converts for the hardware

    Mixer();
    ~Mixer();

    // A sound may overlap itself; a second loop of a sound already looping is not started.
    void play(int32_t handle, std::shared_ptr<const DecodedSound> sound, bool looping);
    void stop(int32_t handle);
    void stopAll();
    // Effects that found no device are dropped rather than heard late; loops wait for one.
    void dropOneShots();
    bool sounding();
    void mix(int16_t* out, int frames);

private:
    struct Voice;

    std::mutex lock_;
    std::vector<Voice> voices_;
    std::vector<int32_t> sum_;
};

}  // namespace quolvet
