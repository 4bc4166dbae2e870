// Any byte image handed to dsCreateDSB is either refused or played; nothing reads outside it.

#include <cstdlib>
#include <initializer_list>

#include "quolvet_sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const int32_t device = [] {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        return dsInitialize(0);
    }();
    if (device == 0) std::abort();
    // Effects are decoded whole; the looping music (flags 1) is streamed from the library's copy.
    for (const int32_t flags : {3, 1}) {
        const int32_t sound = dsCreateDSB(device, data, uint32_t(size), flags);
        dsPlay(sound);
        dsFree(sound);
    }
    return 0;
}
