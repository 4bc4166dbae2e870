#pragma once

#include <cstdint>
#include <string>

namespace quolvet {

// What a WAVE file image holds, as far as can be told without decoding its samples.
struct WaveImage {
    std::string problem;     // empty when the image looks playable; otherwise why not, for a player
    uint32_t usedBytes = 0;  // the bytes the RIFF header claims, never more than the image holds
    // Plain 16-bit mono samples at `plainRate`, as they are in the image, or none.
    const uint8_t* plainSamples = nullptr;
    uint32_t plainBytes = 0;
    uint32_t plainRate = 0;
};

// Walks the RIFF chunk structure of `size` bytes at `image` and never reads outside them, so a
// truncated or forged file is refused here rather than trusted by the decoder.
WaveImage inspectWaveImage(const uint8_t* image, uint32_t size);

}  // namespace quolvet
