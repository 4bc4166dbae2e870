#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

namespace quolvet {

// The one format the device is always opened in; SDL converts it for the hardware. A sound
// decoded into it plays on any device opened later, as it is.
inline constexpr int mixRate = 44100;
inline constexpr SDL_AudioFormat mixFormat = AUDIO_S16SYS;
inline constexpr int mixChannels = 1;

// Lets go of samples SDL allocated, or the library itself.
struct FreeSamples {
    bool ours = false;
    void operator()(Uint8* samples) const;
};

// A sound as the mixer plays it: its samples in the mix format, made without the device and good
// across every close and open of it.
struct DecodedSound {
    std::unique_ptr<Uint8, FreeSamples> samples;
    Uint32 bytes = 0;  // whole frames, never none
};

// Decodes a whole WAVE file image of `size` bytes. Answers nullptr and says why in `problem`, in
// words a player can read, for an image that is not a playable WAVE file.
std::shared_ptr<DecodedSound> decodeWave(const uint8_t* image, uint32_t size, std::string& problem);

}  // namespace quolvet
