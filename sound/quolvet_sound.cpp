// The sound library over SDL2_mixer. SDL's WAVE loader decodes the effects, SDL_mixer mixes and
// resamples, and the looping music is streamed from the library's own copy of its file image.
//
// An open SDL audio device keeps a thread writing silence even while paused, so the device is
// closed once nothing has sounded for a short while and opened again by the next play. Every
// entry point and the idle keeper hold `libraryMutex`; the mixer's "finished" hooks run with
// SDL's audio lock held (on the audio thread, or inside a halt on the caller's own thread), so
// they only raise a flag for the keeper.

#include "quolvet_sound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "wave_image.h"

#define QUOLVET_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr int mixFrequency = 44100;
constexpr int mixChannels = 1;  // every sound of the game is mono; the system spreads it to its speakers
constexpr int mixBufferFrames = 1024;
constexpr int firstVoiceCount = 16;
constexpr int mostVoices = 256;
constexpr auto silenceBeforeClosing = std::chrono::seconds(2);
constexpr int32_t musicFlags = 1;

struct Sound {
    Mix_Chunk* chunk = nullptr;
    Mix_Music* music = nullptr;
    std::vector<uint8_t> image;  // the streamed music reads its file image from here while it lives
    int loopVoice = -1;
};

// The format the device was first opened with. Every reopening asks for exactly this (SDL
// converts if the hardware has changed), so sounds already loaded stay valid.
struct MixFormat {
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
};

std::mutex libraryMutex;
int32_t openDevice = 0;
bool deviceOpen = false;
MixFormat mixFormat;
int voiceCount = firstVoiceCount;
Mix_Music* playingMusic = nullptr;
int32_t lastDeviceHandle = 0;
int32_t lastSoundHandle = 0;
std::map<int32_t, Sound> sounds;
std::string lastError;

// The keeper's wake-up. A lock of its own that nothing else is taken under, so the mixer's
// hooks may take it with the audio lock held.
std::mutex wakeMutex;
std::condition_variable wakeKeeperSignal;
bool keeperWoken = false;
bool keeperQuitting = false;
// Never destroyed at exit: a program that ends without dsTerminate must not be aborted by a
// thread object still joinable.
std::thread* keeper = nullptr;

void wakeKeeper() {
    {
        std::lock_guard lock(wakeMutex);
        keeperWoken = true;
    }
    wakeKeeperSignal.notify_one();
}

void SDLCALL onVoiceFinished(int) { wakeKeeper(); }
void SDLCALL onMusicFinished() { wakeKeeper(); }

bool somethingSounds() { return Mix_Playing(-1) != 0 || Mix_PlayingMusic() != 0; }

bool openMixer() {
    const bool first = mixFormat.frequency == 0;
    const int opened = first ? Mix_OpenAudio(mixFrequency, AUDIO_S16SYS, mixChannels, mixBufferFrames)
                             : Mix_OpenAudioDevice(mixFormat.frequency, mixFormat.format, mixFormat.channels,
                                                   mixBufferFrames, nullptr, 0);
    if (opened != 0) return false;
    if (first) Mix_QuerySpec(&mixFormat.frequency, &mixFormat.format, &mixFormat.channels);
    Mix_AllocateChannels(voiceCount);
    Mix_ChannelFinished(onVoiceFinished);
    Mix_HookMusicFinished(onMusicFinished);
    deviceOpen = true;
    // Whatever brought the device back may fail to sound; the keeper then closes it again.
    wakeKeeper();
    return true;
}

// The mixer's voices are gone once the device is closed: nothing may ask about them until it
// is opened again.
void closeMixer() {
    if (!deviceOpen) return;
    Mix_ChannelFinished(nullptr);
    Mix_HookMusicFinished(nullptr);
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    playingMusic = nullptr;
    Mix_CloseAudio();
    deviceOpen = false;
}

bool ensureOpen() { return deviceOpen || openMixer(); }

void closeIfSilent() {
    std::lock_guard lock(libraryMutex);
    if (deviceOpen && !somethingSounds()) closeMixer();
}

// Closes the device once a whole quiet period has passed after the last voice ended; a voice
// ending within the period starts it over.
void keepIdleDeviceClosed() {
    std::unique_lock lock(wakeMutex);
    for (;;) {
        wakeKeeperSignal.wait(lock, [] { return keeperWoken || keeperQuitting; });
        while (keeperWoken && !keeperQuitting) {
            keeperWoken = false;
            wakeKeeperSignal.wait_for(lock, silenceBeforeClosing, [] { return keeperWoken || keeperQuitting; });
        }
        if (keeperQuitting) return;
        lock.unlock();
        closeIfSilent();
        lock.lock();
    }
}

void startKeeper() {
    keeperWoken = false;
    keeperQuitting = false;
    keeper = new std::thread(keepIdleDeviceClosed);
}

void stopKeeper() {
    {
        std::lock_guard lock(wakeMutex);
        keeperQuitting = true;
    }
    wakeKeeperSignal.notify_one();
    keeper->join();
    delete keeper;
    keeper = nullptr;
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
    int voice = Mix_PlayChannel(-1, sound.chunk, loops);
    if (voice < 0 && voiceCount < mostVoices) {
        voiceCount *= 2;
        Mix_AllocateChannels(voiceCount);
        voice = Mix_PlayChannel(-1, sound.chunk, loops);
    }
    return voice;
}

void startMusic(Sound& sound, int loops) {
    if (Mix_PlayMusic(sound.music, loops) == 0) playingMusic = sound.music;
}

void play(Sound& sound, bool looping) {
    if (!ensureOpen()) return;
    if (sound.music != nullptr) {
        // A second call while the loop runs keeps the one loop rather than starting the music over.
        if (looping && playingMusic == sound.music && Mix_PlayingMusic() != 0) return;
        startMusic(sound, looping ? -1 : 1);
        return;
    }
    if (!looping) {
        startVoice(sound, 0);
        return;
    }
    if (sound.loopVoice >= 0 && isVoiceOf(sound.loopVoice, sound)) return;
    sound.loopVoice = startVoice(sound, -1);
}

void stopVoicesOf(Sound& sound) {
    sound.loopVoice = -1;
    if (!deviceOpen) return;
    if (sound.music != nullptr && playingMusic == sound.music) {
        Mix_HaltMusic();
        playingMusic = nullptr;
    }
    if (sound.chunk == nullptr) return;
    for (int voice = 0; voice < voiceCount; ++voice)
        if (isVoiceOf(voice, sound)) Mix_HaltChannel(voice);
}

void release(Sound& sound) {
    stopVoicesOf(sound);
    if (sound.music != nullptr) Mix_FreeMusic(sound.music);
    if (sound.chunk != nullptr) Mix_FreeChunk(sound.chunk);
}

int32_t refuse(std::string why) {
    lastError = std::move(why);
    return 0;
}

std::string sdlProblem() { return std::string("音声を読み込めません（") + SDL_GetError() + "）。"; }

// The streaming reader resamples with none of the limits the whole-file loader checks first, so
// only the plain coding music comes in is streamed; anything else goes to the whole-file loader
// and is accepted or refused exactly as an effect would be.
bool isPlainPcm(const quolvet::WaveImage& wave) {
    const uint32_t frameBytes = uint32_t(wave.channels) * wave.bitsPerSample / 8;
    return wave.formatTag == 0x0001 && (wave.bitsPerSample == 8 || wave.bitsPerSample == 16) &&
           wave.channels >= 1 && wave.channels <= 2 && wave.rate >= 8000 && wave.rate <= 192000 &&
           wave.blockAlign == frameBytes && wave.dataBytes >= frameBytes;
}

// The streaming reader trusts the text of chunks such as LIST to be terminated, which a forged
// file's need not be; so the music streams from a plain copy holding only its format and samples.
std::vector<uint8_t> plainWave(const quolvet::WaveImage& wave, const uint8_t* image) {
    std::vector<uint8_t> out;
    const auto put = [&out](const char* tag) { out.insert(out.end(), tag, tag + 4); };
    const auto put32 = [&out](uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(v >> shift));
    };
    const auto put16 = [&out](uint16_t v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    const uint32_t padding = wave.dataBytes & 1;
    put("RIFF");
    put32(4 + 8 + 16 + 8 + wave.dataBytes + padding);
    put("WAVE");
    put("fmt ");
    put32(16);
    put16(wave.formatTag);
    put16(wave.channels);
    put32(wave.rate);
    put32(wave.rate * wave.blockAlign);
    put16(wave.blockAlign);
    put16(wave.bitsPerSample);
    put("data");
    put32(wave.dataBytes);
    out.insert(out.end(), image + wave.dataOffset, image + wave.dataOffset + wave.dataBytes);
    if (padding) out.push_back(0);
    return out;
}

// The music streams from the library's copy of the image while it plays, instead of being
// decoded whole (twice its size again once resampled) before the game can start.
Mix_Music* loadMusic(std::vector<uint8_t>& image) {
    SDL_RWops* stream = SDL_RWFromConstMem(image.data(), int(image.size()));
    if (stream == nullptr) return nullptr;
    return Mix_LoadMUS_RW(stream, 1);
}

Mix_Chunk* loadChunk(const uint8_t* image, uint32_t size) {
    SDL_RWops* stream = SDL_RWFromConstMem(image, int(size));
    if (stream == nullptr) return nullptr;
    // The decoded samples are the library's own copy; the image is not needed afterwards.
    return Mix_LoadWAV_RW(stream, 1);
}

int32_t keep(Sound sound) {
    const int32_t handle = nextHandle(lastSoundHandle);
    sounds[handle] = std::move(sound);
    lastError.clear();
    return handle;
}

}  // namespace

QUOLVET_EXPORT int32_t dsInitialize(int32_t) {
    std::lock_guard lock(libraryMutex);
    if (openDevice != 0) return openDevice;
    // Without this SDL turns SIGINT and SIGTERM into quit events nobody reads, and the game
    // could no longer be stopped from outside.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    mixFormat = {};
    voiceCount = firstVoiceCount;
    startKeeper();
    if (!openMixer()) {
        stopKeeper();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    openDevice = nextHandle(lastDeviceHandle);
    return openDevice;
}

QUOLVET_EXPORT int32_t dsCreateDSB(int32_t device, const uint8_t* image, uint32_t size, int32_t flags) {
    std::lock_guard lock(libraryMutex);
    if (device == 0 || device != openDevice) return refuse("音声装置が開かれていません。");
    const quolvet::WaveImage wave = quolvet::inspectWaveImage(image, size);
    if (!wave.problem.empty()) return refuse(wave.problem);
    if (wave.usedBytes > uint32_t(INT32_MAX)) return refuse("ファイルが大きすぎます。");
    // SDL_mixer loads nothing while the device is closed.
    if (!ensureOpen()) return refuse(std::string("音声装置を開けません（") + SDL_GetError() + "）。");

    if (flags == musicFlags && isPlainPcm(wave)) {
        Sound music;
        music.image = plainWave(wave, image);
        music.music = loadMusic(music.image);
        if (music.music != nullptr) return keep(std::move(music));
    }

    Mix_Chunk* chunk = loadChunk(image, wave.usedBytes);
    if (chunk == nullptr) return refuse(sdlProblem());
    if (chunk->alen == 0) {
        Mix_FreeChunk(chunk);
        return refuse("音のデータが空です。");
    }
    return keep(Sound{chunk, nullptr, {}, -1});
}

QUOLVET_EXPORT void dsPlay(int32_t handle) {
    std::lock_guard lock(libraryMutex);
    if (Sound* sound = findSound(handle)) play(*sound, false);
}

QUOLVET_EXPORT void dsPlayLooping(int32_t handle) {
    std::lock_guard lock(libraryMutex);
    if (Sound* sound = findSound(handle)) play(*sound, true);
}

QUOLVET_EXPORT void dsStop(int32_t handle) {
    std::lock_guard lock(libraryMutex);
    if (Sound* sound = findSound(handle)) stopVoicesOf(*sound);
}

QUOLVET_EXPORT void dsFree(int32_t handle) {
    std::lock_guard lock(libraryMutex);
    Sound* sound = findSound(handle);
    if (sound == nullptr) return;
    release(*sound);
    sounds.erase(handle);
}

QUOLVET_EXPORT void dsTerminate(int32_t device) {
    {
        std::lock_guard lock(libraryMutex);
        if (device == 0 || device != openDevice) return;
        openDevice = 0;  // from here on every other call finds nothing to do
    }
    // The keeper takes the library lock itself, so it is stopped outside it.
    stopKeeper();
    std::lock_guard lock(libraryMutex);
    for (auto& [handle, sound] : sounds) release(sound);
    sounds.clear();
    closeMixer();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

QUOLVET_EXPORT const char* dsLastError(void) {
    std::lock_guard lock(libraryMutex);
    return lastError.c_str();
}
