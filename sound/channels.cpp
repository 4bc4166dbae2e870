#include "channels.h"

#include <algorithm>

namespace quolvet {
namespace {

constexpr int mostChannels = 256;
// An effect asked for while the device was stalled or still opening, and not begun by then, is
// dropped: a burst of late taps would only confuse.
constexpr auto staleAfter = std::chrono::milliseconds(500);

void SDLCALL countMix(void* mixes, Uint8*, int) {
    static_cast<std::atomic<uint64_t>*>(mixes)->fetch_add(1, std::memory_order_relaxed);
}

bool fresh(const Request& request, Clock::time_point now) { return now - request.asked <= staleAfter; }

}  // namespace

void Channels::take(const Request& request, bool deviceOpen) {
    switch (request.kind) {
    case Request::Kind::stop:
        loops_.erase(request.handle);
        std::erase_if(waitingEffects_, [&request](const Request& r) { return r.handle == request.handle; });
        if (deviceOpen) halt(request.handle);
        return;
    case Request::Kind::loop:
        // A second loop of a sound already looping is not started.
        if (!loops_.emplace(request.handle, request.sound).second || !deviceOpen) return;
        if (!start(request.handle, request.sound, true, request.asked)) loops_.erase(request.handle);
        return;
    case Request::Kind::play:
        if (!deviceOpen) return waitingEffects_.push_back(request);
        if (fresh(request, Clock::now())) start(request.handle, request.sound, false, request.asked);
        return;
    }
}

void Channels::deviceOpened() {
    Mix_AllocateChannels(channelCount_);
    Mix_SetPostMix(countMix, &mixes_);
    voices_.assign(size_t(channelCount_), Voice{});
    std::erase_if(loops_, [this](const auto& loop) { return !start(loop.first, loop.second, true, Clock::now()); });
    const auto now = Clock::now();
    for (const Request& effect : waitingEffects_)
        if (fresh(effect, now)) start(effect.handle, effect.sound, false, effect.asked);
    waitingEffects_.clear();
}

void Channels::deviceClosed() { voices_.clear(); }

void Channels::dropWaitingEffects() { waitingEffects_.clear(); }

void Channels::clear() {
    loops_.clear();
    waitingEffects_.clear();
}

bool Channels::wanted() const { return !loops_.empty() || !waitingEffects_.empty(); }

bool Channels::sounding() const { return Mix_Playing(-1) > 0; }

Clock::time_point Channels::tend(Clock::time_point now) {
    Clock::time_point next = Clock::time_point::max();
    const uint64_t mixes = mixes_.load(std::memory_order_relaxed);
    for (size_t channel = 0; channel < voices_.size(); ++channel) {
        Voice& voice = voices_[channel];
        if (!voice.sound || voice.looping || voice.begun) {
            if (voice.sound && !Mix_Playing(int(channel))) voice = Voice{};
            continue;
        }
        voice.begun = mixes != voice.mixesBefore;
        if (voice.begun) continue;
        if (now - voice.asked <= staleAfter) {
            next = std::min(next, voice.asked + staleAfter);
            continue;
        }
        Mix_HaltChannel(int(channel));
        voice = Voice{};
    }
    return next;
}

bool Channels::start(int32_t handle, const std::shared_ptr<DecodedSound>& sound, bool looping, Clock::time_point asked) {
    int channel = Mix_PlayChannel(-1, &sound->chunk, looping ? -1 : 0);
    // Effects overlap freely: all channels busy, there are twice as many.
    if (channel < 0 && channelCount_ < mostChannels) {
        channelCount_ *= 2;
        Mix_AllocateChannels(channelCount_);
        voices_.resize(size_t(channelCount_));
        channel = Mix_PlayChannel(-1, &sound->chunk, looping ? -1 : 0);
    }
    if (channel < 0) return false;
    // Counted after the start: a round slipping in between can only make an effect look not
    // begun when no round follows it, and a device that stalls like that drops it rightly.
    voices_[size_t(channel)] = Voice{handle, sound, looping, asked, mixes_.load(std::memory_order_relaxed), false};
    return true;
}

void Channels::halt(int32_t handle) {
    for (size_t channel = 0; channel < voices_.size(); ++channel) {
        if (voices_[channel].handle != handle || !voices_[channel].sound) continue;
        Mix_HaltChannel(int(channel));
        voices_[channel] = Voice{};
    }
}

}  // namespace quolvet
