// The sound library over SDL2_mixer. SDL's WAVE loader decodes, SDL_mixer mixes and resamples.
// All calls come from the window thread; only the channel-finished callback runs elsewhere.

#include "quolvet_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "wave_image.h"

#define QUOLVET_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr int mixFrequency = 44100;
constexpr int mixChannels = 1;  // every sound of the game is mono; the system spreads it to its speakers
constexpr int mixBufferFrames = 1024;
constexpr int firstVoiceCount = 16;
constexpr int mostVoices = 256;
constexpr SDL_AudioDeviceID highestDeviceId = 64;

struct Sound {
    Mix_Chunk* chunk = nullptr;
    int loopVoice = -1;
};

// Pauses the device once the last voice has fallen silent, so an idle game costs no mixing.
// SDL_mixer reports finished voices on the audio thread while it holds the device lock, so the
// report only wakes this keeper, which takes the lock itself.
class IdleKeeper {
public:
    explicit IdleKeeper(SDL_AudioDeviceID device) : device_(device), thread_([this] { run(); }) {}

    ~IdleKeeper() {
        {
            std::lock_guard lock(mutex_);
            quitting_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

    void voiceFinished() {
        {
            std::lock_guard lock(mutex_);
            voiceFinished_ = true;
        }
        wake_.notify_one();
    }

private:
    void run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return voiceFinished_ || quitting_; });
            if (quitting_) return;
            voiceFinished_ = false;
            lock.unlock();
            pauseIfSilent();
            lock.lock();
        }
    }

    void pauseIfSilent() {
        SDL_LockAudioDevice(device_);
        if (Mix_Playing(-1) == 0) SDL_PauseAudioDevice(device_, 1);
        SDL_UnlockAudioDevice(device_);
    }

    SDL_AudioDeviceID device_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool voiceFinished_ = false;
    bool quitting_ = false;
    std::thread thread_;
};

int32_t openDevice = 0;
int32_t lastDeviceHandle = 0;
int32_t lastSoundHandle = 0;
SDL_AudioDeviceID mixerDevice = 0;
IdleKeeper* idleKeeper = nullptr;
std::map<int32_t, Sound> sounds;
std::string lastError;

void SDLCALL onVoiceFinished(int) {
    if (idleKeeper != nullptr) idleKeeper->voiceFinished();
}

// SDL_mixer keeps the id of the device it opened to itself; it is the only device this
// process has open, so it is the one SDL reports as playing.
SDL_AudioDeviceID findMixerDevice() {
    for (SDL_AudioDeviceID id = 1; id <= highestDeviceId; ++id)
        if (SDL_GetAudioDeviceStatus(id) != SDL_AUDIO_STOPPED) return id;
    return 0;
}

void pauseDevice(bool pause) {
    if (mixerDevice != 0) SDL_PauseAudioDevice(mixerDevice, pause ? 1 : 0);
}

Sound* findSound(int32_t handle) {
    if (handle == 0 || openDevice == 0) return nullptr;
    auto found = sounds.find(handle);
    return found == sounds.end() ? nullptr : &found->second;
}

int32_t nextHandle(int32_t& last) {
    last = last == INT32_MAX ? 1 : last + 1;
    return last;
}

bool isVoiceOf(int voice, const Sound& sound) {
    return Mix_Playing(voice) != 0 && Mix_GetChunk(voice) == sound.chunk;
}

// Starts the sound on a free voice, adding voices when all are busy so effects overlap.
int startVoice(const Sound& sound, int loops) {
    SDL_LockAudioDevice(mixerDevice);
    int voice = Mix_PlayChannel(-1, sound.chunk, loops);
    const int voices = Mix_AllocateChannels(-1);
    if (voice < 0 && voices < mostVoices) {
        Mix_AllocateChannels(voices * 2);
        voice = Mix_PlayChannel(-1, sound.chunk, loops);
    }
    if (voice >= 0) pauseDevice(false);
    SDL_UnlockAudioDevice(mixerDevice);
    return voice;
}

void stopVoicesOf(const Sound& sound) {
    const int voices = Mix_AllocateChannels(-1);
    for (int voice = 0; voice < voices; ++voice)
        if (isVoiceOf(voice, sound)) Mix_HaltChannel(voice);
}

int32_t refuse(std::string why) {
    lastError = std::move(why);
    return 0;
}

}  // namespace

QUOLVET_EXPORT int32_t dsInitialize(int32_t) {
    if (openDevice != 0) return openDevice;
    // Without this SDL turns SIGINT and SIGTERM into quit events nobody reads, and the game
    // could no longer be stopped from outside.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    if (Mix_OpenAudio(mixFrequency, AUDIO_S16SYS, mixChannels, mixBufferFrames) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    Mix_AllocateChannels(firstVoiceCount);
    mixerDevice = findMixerDevice();
    pauseDevice(true);
    if (mixerDevice != 0) idleKeeper = new IdleKeeper(mixerDevice);
    Mix_ChannelFinished(onVoiceFinished);
    openDevice = nextHandle(lastDeviceHandle);
    return openDevice;
}

QUOLVET_EXPORT int32_t dsCreateDSB(int32_t device, const uint8_t* image, uint32_t size, int32_t) {
    if (device == 0 || device != openDevice) return refuse("音声装置が開かれていません。");
    const quolvet::WaveImage wave = quolvet::inspectWaveImage(image, size);
    if (!wave.problem.empty()) return refuse(wave.problem);

    if (wave.usedBytes > uint32_t(INT32_MAX)) return refuse("ファイルが大きすぎます。");
    SDL_RWops* stream = SDL_RWFromConstMem(image, int(wave.usedBytes));
    if (stream == nullptr) return refuse(std::string("音声を読み込めません（") + SDL_GetError() + "）。");
    // The decoded samples are the library's own copy; the image is not needed afterwards.
    Mix_Chunk* chunk = Mix_LoadWAV_RW(stream, 1);
    if (chunk == nullptr) return refuse(std::string("音声を読み込めません（") + SDL_GetError() + "）。");
    if (chunk->alen == 0) {
        Mix_FreeChunk(chunk);
        return refuse("音のデータが空です。");
    }
    const int32_t handle = nextHandle(lastSoundHandle);
    sounds[handle] = Sound{chunk, -1};
    lastError.clear();
    return handle;
}

QUOLVET_EXPORT void dsPlay(int32_t handle) {
    Sound* sound = findSound(handle);
    if (sound == nullptr) return;
    startVoice(*sound, 0);
}

QUOLVET_EXPORT void dsPlayLooping(int32_t handle) {
    Sound* sound = findSound(handle);
    if (sound == nullptr) return;
    // A second call while the loop runs keeps the one loop rather than doubling the music.
    if (sound->loopVoice >= 0 && isVoiceOf(sound->loopVoice, *sound)) return;
    sound->loopVoice = startVoice(*sound, -1);
}

QUOLVET_EXPORT void dsStop(int32_t handle) {
    Sound* sound = findSound(handle);
    if (sound == nullptr) return;
    stopVoicesOf(*sound);
    sound->loopVoice = -1;
}

QUOLVET_EXPORT void dsFree(int32_t handle) {
    Sound* sound = findSound(handle);
    if (sound == nullptr) return;
    stopVoicesOf(*sound);
    Mix_FreeChunk(sound->chunk);
    sounds.erase(handle);
}

QUOLVET_EXPORT void dsTerminate(int32_t device) {
    if (device == 0 || device != openDevice) return;
    Mix_ChannelFinished(nullptr);
    Mix_HaltChannel(-1);
    for (auto& [handle, sound] : sounds) Mix_FreeChunk(sound.chunk);
    sounds.clear();
    delete idleKeeper;
    idleKeeper = nullptr;
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    mixerDevice = 0;
    openDevice = 0;
}

QUOLVET_EXPORT const char* dsLastError(void) { return lastError.c_str(); }
