#include "decoded_sound.h"

#include <SDL.h>

#include <cstring>

#include "wave_image.h"

namespace quolvet {
namespace {

const char* const noSamples = "音のデータが空です。";
const char* const tooLarge = "ファイルが大きすぎます。";

std::string sdlProblem() { return std::string("音声を読み込めません（") + SDL_GetError() + "）。"; }

// SDL's buffers, released however the decoding ends.
struct SdlBuffer {
    Uint8* bytes = nullptr;
    ~SdlBuffer() { SDL_free(bytes); }
};

}  // namespace

std::shared_ptr<const DecodedSound> decodeWave(const uint8_t* image, uint32_t size, std::string& problem) {
    const auto refuse = [&problem](std::string why) {
        problem = std::move(why);
        return nullptr;
    };
    // The chunk walk comes first, so SDL's decoder only ever sees an image whose chunks lie
    // within it.
    const WaveImage wave = inspectWaveImage(image, size);
    if (!wave.problem.empty()) return refuse(wave.problem);
    if (wave.usedBytes > uint32_t(INT32_MAX)) return refuse(tooLarge);

    SDL_AudioSpec spec{};
    SdlBuffer decoded;
    Uint32 decodedBytes = 0;
    // SDL drops an incomplete last sample frame, so music of any length loops on whole frames.
    SDL_RWops* stream = SDL_RWFromConstMem(image, int(wave.usedBytes));
    if (SDL_LoadWAV_RW(stream, 1, &spec, &decoded.bytes, &decodedBytes) == nullptr) return refuse(sdlProblem());
    if (decodedBytes == 0) return refuse(noSamples);
    SDL_AudioCVT toMono{};
    if (SDL_BuildAudioCVT(&toMono, spec.format, spec.channels, spec.freq, AUDIO_S16SYS, 1, spec.freq) < 0)
        return refuse(sdlProblem());
    const uint64_t workBytes = uint64_t(decodedBytes) * uint64_t(toMono.len_mult);
    if (workBytes > INT32_MAX) return refuse(tooLarge);
    SdlBuffer work{static_cast<Uint8*>(SDL_malloc(size_t(workBytes)))};
    if (work.bytes == nullptr) return refuse(tooLarge);
    std::memcpy(work.bytes, decoded.bytes, decodedBytes);
    toMono.buf = work.bytes;
    toMono.len = int(decodedBytes);
    if (SDL_ConvertAudio(&toMono) < 0) return refuse(sdlProblem());
    if (toMono.len_cvt < 2) return refuse(noSamples);

    auto sound = std::make_shared<DecodedSound>();
    sound->rate = spec.freq;
    sound->samples.resize(size_t(toMono.len_cvt) / 2);
    std::memcpy(sound->samples.data(), work.bytes, sound->samples.size() * 2);
    return sound;
}

}  // namespace quolvet
