// Any byte image is either refused or decoded and mixed, once and looping; nothing reads outside
// it and nothing runs for ever.

#include <string>

#include "decoded_sound.h"
#include "mixer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string problem;
    const auto sound = quolvet::decodeWave(data, uint32_t(size), problem);
    if (!sound) return 0;
    quolvet::Mixer mixer;
    mixer.play(1, sound, false);
    mixer.play(2, sound, true);
    int16_t out[4096];
    for (int round = 0; round < 2; ++round) mixer.mix(out, 4096);
    return 0;
}
