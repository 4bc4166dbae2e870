#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace quolvet {

// A sound as the mixer plays it: mono 16-bit samples at the rate of its file. Voices convert the
// rate as they play, so loading never needs the audio device and never multiplies the samples.
struct DecodedSound {
    struct Free {
        void operator()(void* buffer) const;
    };
    std::unique_ptr<int16_t[], Free> buffer;  // the decoder's own, kept rather than copied
    std::span<const int16_t> samples;
    int rate = 0;
};

// Decodes a whole WAVE file image of `size` bytes. Answers nullptr and says why in `problem`, in
// words a player can read, for an image that is not a playable WAVE file.
std::shared_ptr<const DecodedSound> decodeWave(const uint8_t* image, uint32_t size, std::string& problem);

}  // namespace quolvet
