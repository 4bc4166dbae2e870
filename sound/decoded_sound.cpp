#include "decoded_sound.h"

#include <SDL.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "wave_image.h"

namespace quolvet {
namespace {

const char* const noSamples = "音のデータが空です。";
const char* const tooLarge = "ファイルが大きすぎます。";

std::string sdlProblem() { return std::string("音声を読み込めません（") + SDL_GetError() + "）。"; }

using Samples = std::unique_ptr<Uint8, FreeSamples>;

struct FreeStream {
    void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
};

// SDL's converter keeps back the last few hundred frames of a sound it resamples, flushed or not;
// this much silence after the sound pushes them out, and is cut off again.
constexpr uint64_t trailingSilenceFrames = 1024;

// Through SDL's converter into the mix format. `length` is in whole frames of `source` on the way
// in and of the mix format on the way out.
Samples toMixFormat(const SDL_AudioSpec& source, const Uint8* bytes, Uint32& length, std::string& problem) {
    const uint64_t frameBytes = uint64_t(SDL_AUDIO_BITSIZE(source.format) / 8) * source.channels;
    const uint64_t frames = length / frameBytes, rate = uint64_t(source.freq);
    const uint64_t expected = (frames * mixRate + rate - 1) / rate * 2;
    if (expected > INT32_MAX / 2) {
        problem = tooLarge;
        return nullptr;
    }
    const std::unique_ptr<SDL_AudioStream, FreeStream> stream(
        SDL_NewAudioStream(source.format, source.channels, source.freq, mixFormat, mixChannels, mixRate));
    const std::vector<Uint8> silence(trailingSilenceFrames * frameBytes, source.format == AUDIO_U8 ? 0x80 : 0);
    if (!stream || SDL_AudioStreamPut(stream.get(), bytes, int(length)) < 0 ||
        SDL_AudioStreamPut(stream.get(), silence.data(), int(silence.size())) < 0 || SDL_AudioStreamFlush(stream.get()) < 0) {
        problem = sdlProblem();
        return nullptr;
    }
    const int wanted = std::min(SDL_AudioStreamAvailable(stream.get()), int(expected));
    Samples converted(static_cast<Uint8*>(SDL_malloc(size_t(wanted) + 1)));
    const int got = converted ? SDL_AudioStreamGet(stream.get(), converted.get(), wanted) : -1;
    if (got < 0) {
        problem = sdlProblem();
        return nullptr;
    }
    length = Uint32(got);
    return converted;
}

std::shared_ptr<DecodedSound> made(Samples samples, Uint32 bytes) {
    auto sound = std::make_shared<DecodedSound>();
    sound->samples = std::move(samples);
    sound->bytes = bytes;
    return sound;
}

// Samples already in the mix format, as the game's own are, need no decoder: they are copied
// straight into memory of their own. A sound of some megabytes asks for huge pages, where the
// system lends them: first touching the music's 700 small pages cost five times the copy here.
std::shared_ptr<DecodedSound> copied(const uint8_t* from, Uint32 bytes) {
    constexpr size_t hugePage = size_t(2) << 20;
    const size_t rounded = (size_t(bytes) + hugePage - 1) / hugePage * hugePage;
    const bool large = bytes >= hugePage;
    Samples samples(static_cast<Uint8*>(large ? std::aligned_alloc(hugePage, rounded) : std::malloc(bytes)), FreeSamples{true});
    if (!samples) return nullptr;
    if (large) {
        // A last huge page less than half used would hold more unused than used: that part stays
        // in small pages, made present with the rest in one call rather than a fault each.
        const size_t tail = bytes % hugePage;
        madvise(samples.get(), tail != 0 && tail < hugePage / 2 ? bytes - tail : rounded, MADV_HUGEPAGE);
        madvise(samples.get(), bytes, MADV_POPULATE_WRITE);
    }
    std::memcpy(samples.get(), from, bytes);
    return made(std::move(samples), bytes);
}

}  // namespace

std::shared_ptr<DecodedSound> decodeWave(const uint8_t* image, uint32_t size, std::string& problem) {
    const auto refuse = [&problem](std::string why) {
        problem = std::move(why);
        return nullptr;
    };
    // The chunk walk comes first, so SDL's decoder only ever sees an image whose chunks lie
    // within it.
    const WaveImage wave = inspectWaveImage(image, size);
    if (!wave.problem.empty()) return refuse(wave.problem);
    if (wave.usedBytes > uint32_t(INT32_MAX)) return refuse(tooLarge);

    if (mixFormat == AUDIO_S16LSB && wave.plainRate == mixRate && wave.plainBytes >= 2) {
        auto sound = copied(wave.plainSamples, wave.plainBytes - wave.plainBytes % 2);
        return sound ? sound : refuse(tooLarge);
    }

    SDL_AudioSpec source{};
    Uint8* decodedBytes = nullptr;
    Uint32 length = 0;
    SDL_RWops* stream = SDL_RWFromConstMem(image, int(wave.usedBytes));
    if (SDL_LoadWAV_RW(stream, 1, &source, &decodedBytes, &length) == nullptr) return refuse(sdlProblem());
    Samples samples(decodedBytes);
    // SDL's decoder hands over whole frames only, so music whose data ends in part of one loops.
    if (length == 0) return refuse(noSamples);
    if (source.format != mixFormat || source.channels != mixChannels || source.freq != mixRate) {
        samples = toMixFormat(source, samples.get(), length, problem);
        if (!samples) return nullptr;
        length -= length % 2;
        if (length == 0) return refuse(noSamples);
    }

    return made(std::move(samples), length);
}

void FreeSamples::operator()(Uint8* samples) const {
    if (ours) return std::free(samples);
    SDL_free(samples);
}

}  // namespace quolvet
