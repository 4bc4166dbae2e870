#include "mixer.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>

namespace quolvet {
namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t mostVoices = 256;
constexpr size_t feedFrames = 2048;
// An effect asked for while the device was stalled or still opening, and not begun by then, is
// dropped: a burst of late taps would only confuse.
constexpr auto staleAfter = std::chrono::milliseconds(500);

struct FreeStream {
    void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
};

}  // namespace

struct Mixer::Voice {
    int32_t handle = 0;
    std::shared_ptr<const DecodedSound> sound;
    bool looping = false;
    size_t position = 0;
    // Only for a sound at another rate than the mixer's: converts it as it plays.
    std::unique_ptr<SDL_AudioStream, FreeStream> converter;
    bool flushed = false;
    Clock::time_point asked = Clock::now();
    bool begun = false;

    bool stale(Clock::time_point now) const { return !begun && !looping && now - asked > staleAfter; }
    // Adds the next `frames` frames into `sum`; answers false once the voice has ended.
    bool addInto(int32_t* sum, int frames) { return converter ? addConverted(sum, frames) : addDirect(sum, frames); }

private:
    std::span<const int16_t> samples() const { return sound->samples; }

    bool addDirect(int32_t* sum, int frames) {
        for (int done = 0; done < frames;) {
            if (position == samples().size()) {
                if (!looping) return false;
                position = 0;
            }
            const size_t count = std::min(size_t(frames - done), samples().size() - position);
            for (size_t i = 0; i < count; ++i) sum[size_t(done) + i] += samples()[position + i];
            done += int(count);
            position += count;
        }
        return looping || position < samples().size();
    }

    bool addConverted(int32_t* sum, int frames) {
        int16_t chunk[feedFrames];
        for (int done = 0; done < frames;) {
            const int wanted = std::min(frames - done, int(feedFrames));
            const int bytes = SDL_AudioStreamGet(converter.get(), chunk, wanted * 2);
            if (bytes < 0) return false;
            for (int i = 0; i < bytes / 2; ++i) sum[done + i] += chunk[i];
            done += bytes / 2;
            if (bytes == 0 && !feedConverter()) return false;
        }
        return true;
    }

    // A loop is fed on across its seam, so the converter smooths the seam as any other sample.
    bool feedConverter() {
        if (position == samples().size() && looping) position = 0;
        if (position < samples().size()) {
            const size_t count = std::min(feedFrames, samples().size() - position);
            if (SDL_AudioStreamPut(converter.get(), samples().data() + position, int(count * 2)) < 0) return false;
            position += count;
            return true;
        }
        if (flushed) return false;
        flushed = true;
        return SDL_AudioStreamFlush(converter.get()) == 0;
    }
};

// Room for every voice from the start, so the audio thread never allocates for one.
Mixer::Mixer() { voices_.reserve(mostVoices); }
Mixer::~Mixer() = default;

void Mixer::play(int32_t handle, std::shared_ptr<const DecodedSound> sound, bool looping) {
    Voice voice{handle, std::move(sound), looping, 0, nullptr, false, Clock::now(), false};
    if (voice.sound->rate != rate) {
        voice.converter.reset(SDL_NewAudioStream(AUDIO_S16SYS, 1, voice.sound->rate, AUDIO_S16SYS, 1, rate));
        if (!voice.converter) return;
    }
    std::lock_guard guard(lock_);
    const auto loopOfSame = [handle](const Voice& v) { return v.looping && v.handle == handle; };
    if (voices_.size() == mostVoices || (looping && std::ranges::any_of(voices_, loopOfSame))) return;
    voices_.push_back(std::move(voice));
}

void Mixer::stop(int32_t handle) {
    std::lock_guard guard(lock_);
    std::erase_if(voices_, [handle](const Voice& v) { return v.handle == handle; });
}

void Mixer::stopAll() {
    std::lock_guard guard(lock_);
    voices_.clear();
}

void Mixer::dropOneShots() {
    std::lock_guard guard(lock_);
    std::erase_if(voices_, [](const Voice& v) { return !v.looping; });
}

bool Mixer::sounding() {
    std::lock_guard guard(lock_);
    return !voices_.empty();
}

void Mixer::mix(int16_t* out, int frames) {
    std::lock_guard guard(lock_);
    sum_.assign(size_t(frames), 0);
    const auto now = Clock::now();
    std::erase_if(voices_, [this, frames, now](Voice& v) {
        if (v.stale(now)) return true;
        v.begun = true;
        return !v.addInto(sum_.data(), frames);
    });
    for (size_t i = 0; i < size_t(frames); ++i) out[i] = int16_t(std::clamp(sum_[i], -32768, 32767));
}

}  // namespace quolvet
