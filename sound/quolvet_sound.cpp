// The sound library over plain SDL2. Sounds are decoded into the mix format when they are made,
// without the device; a play, loop, stop or free only leaves word for the keeper thread and
// returns. The keeper holds the device: it opens it while something is to sound, hands the sounds
// to the mixer SDL's audio thread calls, and closes it after a quiet while.

#include "quolvet_sound.h"

#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#include "decoded_sound.h"
#include "device_keeper.h"

#define QUOLVET_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using namespace std::chrono_literals;
using quolvet::DecodedSound;
using quolvet::Request;

// However the server behaves, the window appears and the game ends in time.
constexpr auto startPatience = 800ms;
constexpr auto finishPatience = 300ms;

struct Library {
    std::mutex lock;
    int32_t device = 0;
    bool outputFound = false;
    int32_t lastDevice = 0;
    int32_t lastSound = 0;
    std::map<int32_t, std::shared_ptr<DecodedSound>> sounds;
    std::string lastError;
    quolvet::DeviceKeeper keeper;
};

// Never destroyed: the keeper and SDL's audio thread may still be using it while the process
// exits, and a program may end by exit() without ever closing the library (Qt does so when its
// display goes away).
Library& library() {
    static Library* const it = new Library;
    return *it;
}

// Once, before the keeper thread first calls SDL. Without the hint SDL turns SIGINT and SIGTERM
// into quit events nobody reads, and the game could no longer be stopped from outside; the
// event subsystem, which the audio one needs, registers its hints here rather than while this
// thread reads them to decode a sound. The desktop's volume mixer names the stream, and keeps its
// volume, by the others; a player's own SDL_AUDIO_DEVICE_* variables still win over them.
void prepareSdl() {
    static const bool prepared = [] {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Quolvet");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Quolvet");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_ROLE, "game");
        return SDL_InitSubSystem(SDL_INIT_EVENTS) == 0;
    }();
    (void)prepared;
}

// SDL's PulseAudio driver passes on neither the stream's icon nor its role, and the sound server's
// library reads both from the environment too: set while the program loads, before any thread
// could be reading the environment, and never over a player's own. The icon and the id are the
// ones the desktop entry names. PulseAudio keeps a stream's volume by its role once it has one,
// which every game would share: the game's own key keeps its volume its own.
__attribute__((constructor)) void describeTheStream() {
    setenv("PULSE_PROP_application.icon_name", "example.quolvet.Quolvet", 0);
    setenv("PULSE_PROP_application.id", "example.quolvet.Quolvet", 0);
    setenv("PULSE_PROP_media.role", "game", 0);
    setenv("PULSE_PROP_module-stream-restore.id", "sink-input-by-application-id:example.quolvet.Quolvet", 0);
}

int32_t nextHandle(int32_t& last) {
    last = last == INT32_MAX ? 1 : last + 1;
    return last;
}

std::shared_ptr<DecodedSound> findSound(Library& lib, int32_t handle) {
    std::lock_guard guard(lib.lock);
    if (handle == 0 || lib.device == 0) return nullptr;
    const auto found = lib.sounds.find(handle);
    return found == lib.sounds.end() ? nullptr : found->second;
}

void ask(Request::Kind kind, int32_t handle) {
    Library& lib = library();
    auto sound = findSound(lib, handle);
    if (!sound) return;
    if (kind == Request::Kind::stop) sound.reset();
    lib.keeper.ask({kind, handle, std::move(sound), quolvet::Clock::now()});
}

}  // namespace

QUOLVET_EXPORT int32_t dsInitialize(int32_t) {
    Library& lib = library();
    std::lock_guard guard(lib.lock);
    if (lib.device != 0) return lib.device;
    prepareSdl();
    lib.outputFound = lib.keeper.start(startPatience);
    lib.device = nextHandle(lib.lastDevice);
    return lib.device;
}

QUOLVET_EXPORT int32_t dsOutputFound(int32_t device) {
    Library& lib = library();
    std::lock_guard guard(lib.lock);
    return device != 0 && device == lib.device && lib.outputFound;
}

QUOLVET_EXPORT int32_t dsCreateDSB(int32_t device, const uint8_t* image, uint32_t size, int32_t) {
    Library& lib = library();
    std::lock_guard guard(lib.lock);
    if (device == 0 || device != lib.device) {
        lib.lastError = "音声装置が開かれていません。";
        return 0;
    }
    auto sound = quolvet::decodeWave(image, size, lib.lastError);
    if (!sound) return 0;
    const int32_t handle = nextHandle(lib.lastSound);
    lib.sounds[handle] = std::move(sound);
    return handle;
}

QUOLVET_EXPORT void dsPlay(int32_t sound) { ask(Request::Kind::play, sound); }

QUOLVET_EXPORT void dsPlayLooping(int32_t sound) { ask(Request::Kind::loop, sound); }

QUOLVET_EXPORT void dsStop(int32_t sound) { ask(Request::Kind::stop, sound); }

// The keeper holds on to the samples until the sound has stopped.
QUOLVET_EXPORT void dsFree(int32_t sound) {
    ask(Request::Kind::stop, sound);
    Library& lib = library();
    std::lock_guard guard(lib.lock);
    lib.sounds.erase(sound);
}

QUOLVET_EXPORT void dsTerminate(int32_t device) {
    Library& lib = library();
    {
        std::lock_guard guard(lib.lock);
        if (device == 0 || device != lib.device) return;
        lib.device = 0;
        lib.sounds.clear();
    }
    lib.keeper.finish(finishPatience);
}

QUOLVET_EXPORT const char* dsLastError(void) {
    Library& lib = library();
    std::lock_guard guard(lib.lock);
    return lib.lastError.c_str();
}
