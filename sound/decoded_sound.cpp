#include "decoded_sound.h"

#include <SDL.h>

#include <cstring>

#include "wave_image.h"

namespace quolvet {
namespace {

const char* const noSamples = "音のデータが空です。";
const char* const tooLarge = "ファイルが大きすぎます。";

std::string sdlProblem() { return std::string("音声を読み込めません（") + SDL_GetError() + "）。"; }

using Buffer = std::unique_ptr<int16_t[], DecodedSound::Free>;

Buffer own(Uint8* bytes) { return Buffer(reinterpret_cast<int16_t*>(bytes)); }

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
    Uint8* decodedBytes = nullptr;
    Uint32 decodedLength = 0;
    // SDL drops an incomplete last sample frame, so music of any length loops on whole frames.
    SDL_RWops* stream = SDL_RWFromConstMem(image, int(wave.usedBytes));
    if (SDL_LoadWAV_RW(stream, 1, &spec, &decodedBytes, &decodedLength) == nullptr) return refuse(sdlProblem());
    Buffer decoded = own(decodedBytes);
    if (decodedLength == 0) return refuse(noSamples);
    SDL_AudioCVT toMono{};
    if (SDL_BuildAudioCVT(&toMono, spec.format, spec.channels, spec.freq, AUDIO_S16SYS, 1, spec.freq) < 0)
        return refuse(sdlProblem());
    if (toMono.needed) {
        // SDL converts in place, in a buffer large enough for every step.
        const uint64_t workBytes = uint64_t(decodedLength) * uint64_t(toMono.len_mult);
        Buffer work = own(workBytes <= INT32_MAX ? static_cast<Uint8*>(SDL_malloc(size_t(workBytes))) : nullptr);
        if (!work) return refuse(tooLarge);
        std::memcpy(work.get(), decoded.get(), decodedLength);
        toMono.buf = reinterpret_cast<Uint8*>(work.get());
        toMono.len = int(decodedLength);
        if (SDL_ConvertAudio(&toMono) < 0) return refuse(sdlProblem());
        decoded = std::move(work);
        decodedLength = Uint32(toMono.len_cvt);
    }
    if (decodedLength < 2) return refuse(noSamples);

    auto sound = std::make_shared<DecodedSound>();
    sound->samples = std::span<const int16_t>(decoded.get(), decodedLength / 2);
    sound->buffer = std::move(decoded);
    sound->rate = spec.freq;
    return sound;
}

void DecodedSound::Free::operator()(void* buffer) const { SDL_free(buffer); }

}  // namespace quolvet
