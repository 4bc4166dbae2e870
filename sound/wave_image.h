#pragma once

#include <cstdint>
#include <string>

namespace quolvet {

// What a WAVE file image holds, as far as can be told without decoding its samples.
struct WaveImage {
    std::string problem;     // empty when the image looks playable; otherwise why not, for a player
    uint32_t usedBytes = 0;  // the bytes the RIFF header claims, never more than the image holds
    // From the "fmt " and "data" chunks of a playable image.
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint32_t dataBytes = 0;
    uint32_t dataOffset = 0;  // where the samples of the "data" chunk begin
};

// Walks the RIFF chunk structure of `size` bytes at `image` and never reads outside them, so a
// truncated or forged file is refused here rather than trusted by the decoder.
WaveImage inspectWaveImage(const uint8_t* image, uint32_t size);

}  // namespace quolvet
