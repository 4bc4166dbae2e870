#include "sound_library.h"

#include "quolvet_sound.h"

namespace quolvet {

int32_t SystemSoundLibrary::dsInitialize(int32_t windowHandle) { return ::dsInitialize(windowHandle); }
int32_t SystemSoundLibrary::dsOutputFound(int32_t device) { return ::dsOutputFound(device); }

int32_t SystemSoundLibrary::dsCreateDSB(int32_t device, const uint8_t* image, uint32_t size, int32_t flags) {
    return ::dsCreateDSB(device, image, size, flags);
}

void SystemSoundLibrary::dsPlay(int32_t sound) { ::dsPlay(sound); }
void SystemSoundLibrary::dsPlayLooping(int32_t sound) { ::dsPlayLooping(sound); }
void SystemSoundLibrary::dsStop(int32_t sound) { ::dsStop(sound); }
void SystemSoundLibrary::dsFree(int32_t sound) { ::dsFree(sound); }
void SystemSoundLibrary::dsTerminate(int32_t device) { ::dsTerminate(device); }
const char* SystemSoundLibrary::dsLastError() { return ::dsLastError(); }

}  // namespace quolvet
