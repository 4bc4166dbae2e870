// Any byte image handed to dsCreateDSB is either refused or played; nothing reads outside it.

#include <cstdlib>

#include "quolvet_sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const int32_t device = [] {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        return dsInitialize(0);
    }();
    if (device == 0) std::abort();
    const int32_t sound = dsCreateDSB(device, data, uint32_t(size), 3);
    dsPlay(sound);
    dsFree(sound);
    return 0;
}
