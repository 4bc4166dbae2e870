// Any byte image is either refused or decoded into samples whose every byte may be read; nothing
// reads outside the image and nothing runs for ever.

#include <string>

#include "decoded_sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string problem;
    const auto sound = quolvet::decodeWave(data, uint32_t(size), problem);
    if (!sound) return 0;
    volatile uint8_t last = sound->samples.get()[sound->bytes - 1];
    (void)last;
    return 0;
}
