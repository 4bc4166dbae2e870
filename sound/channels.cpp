#include "channels.h"

#include <algorithm>
#include <iterator>

namespace quolvet {
namespace {

// Effects overlap freely, up to this many sounds at once; a play beyond them is not heard.
constexpr size_t mostVoices = 256;
// An effect asked for while the device was stalled or still opening, and not begun by then, is
// dropped: a burst of late taps would only confuse.
constexpr auto staleAfter = std::chrono::milliseconds(500);

bool fresh(const Request& request, Clock::time_point now) { return now - request.asked <= staleAfter; }

}  // namespace

// Room for every voice from the start, so adding one never moves them while the lock is held.
Channels::Channels() { voices_.reserve(mostVoices); }

void SDLCALL Channels::mix(void* channels, Uint8* out, int bytes) {
    static_cast<Channels*>(channels)->sum(out, Uint32(bytes));
}

// On SDL's audio thread. SDL's own summing clips at the sample's limits instead of wrapping.
// The first voice lands on silence at full volume, where that summing changes nothing: it is
// copied, which costs the music alone a hundredth of the summing.
void Channels::sum(Uint8* out, Uint32 bytes) {
    SDL_memset(out, 0, bytes);  // silence in the mix format
    std::lock_guard guard(voicesLock_);
    bool onSilence = true;
    for (Voice& voice : voices_) {
        voice.begun = true;
        const Uint32 length = voice.sound->bytes;
        for (Uint32 done = 0; done < bytes && !voice.ended;) {
            const Uint32 count = std::min(bytes - done, length - voice.position);
            const Uint8* from = voice.sound->samples.get() + voice.position;
            if (onSilence) SDL_memcpy(out + done, from, count);
            else SDL_MixAudioFormat(out + done, from, mixFormat, count, SDL_MIX_MAXVOLUME);
            done += count;
            voice.position += count;
            if (voice.position < length) continue;
            voice.position = 0;
            voice.ended = !voice.looping;
        }
        onSilence = false;
    }
}

void Channels::take(const Request& request, bool deviceOpen) {
    switch (request.kind) {
    case Request::Kind::stop:
        loops_.erase(request.handle);
        std::erase_if(waitingEffects_, [&request](const Request& r) { return r.handle == request.handle; });
        if (deviceOpen) remove([&request](const Voice& v) { return v.handle == request.handle; });
        return;
    case Request::Kind::loop:
        // A second loop of a sound already looping is not started.
        if (loops_.emplace(request.handle, request.sound).second && deviceOpen)
            start(request.handle, request.sound, true, request.asked);
        return;
    case Request::Kind::play:
        if (!deviceOpen) return waitingEffects_.push_back(request);
        if (fresh(request, Clock::now())) start(request.handle, request.sound, false, request.asked);
        return;
    }
}

void Channels::deviceOpened() {
    const auto now = Clock::now();
    for (const auto& [handle, sound] : loops_) start(handle, sound, true, now);
    for (const Request& effect : waitingEffects_)
        if (fresh(effect, now)) start(effect.handle, effect.sound, false, effect.asked);
    waitingEffects_.clear();
}

void Channels::deviceClosed() { remove([](const Voice&) { return true; }); }

void Channels::dropWaitingEffects() { waitingEffects_.clear(); }

void Channels::clear() {
    loops_.clear();
    waitingEffects_.clear();
}

bool Channels::wanted() const { return !loops_.empty() || !waitingEffects_.empty(); }

bool Channels::sounding() {
    std::lock_guard guard(voicesLock_);
    return std::ranges::any_of(voices_, [](const Voice& v) { return !v.ended; });
}

Clock::time_point Channels::tend(Clock::time_point now) {
    Clock::time_point next = Clock::time_point::max();
    remove([now, &next](const Voice& v) {
        if (v.ended) return true;
        if (v.begun || v.looping) return false;
        if (now - v.asked > staleAfter) return true;
        next = std::min(next, v.asked + staleAfter);
        return false;
    });
    return next;
}

void Channels::start(int32_t handle, const std::shared_ptr<DecodedSound>& sound, bool looping, Clock::time_point asked) {
    std::lock_guard guard(voicesLock_);
    if (voices_.size() < mostVoices) voices_.push_back(Voice{handle, sound, looping, asked});
}

// Answers the voices taken away, so that their sounds are let go of only once the audio thread
// may have the lock again.
template <typename Predicate>
std::vector<Channels::Voice> Channels::remove(Predicate gone) {
    std::lock_guard guard(voicesLock_);
    const auto kept = std::stable_partition(voices_.begin(), voices_.end(), [&gone](const Voice& v) { return !gone(v); });
    std::vector<Voice> removed(std::make_move_iterator(kept), std::make_move_iterator(voices_.end()));
    voices_.erase(kept, voices_.end());
    return removed;
}

}  // namespace quolvet
