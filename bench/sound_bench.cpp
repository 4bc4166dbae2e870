// Start-up cost of the sound: opening the device and loading the four shipped sounds.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

#include "module1.h"

namespace {

void BM_InitSoundAndLoadFour(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    quolvet::SystemSoundLibrary library;
    quolvet::Module1 module(library, {QUOLVET_SOUND_SOURCE_DATA}, [](const std::string&) {});
    // Closing the device waits for the audio thread; that belongs to shut-down, not start-up,
    // so each round is timed by hand.
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        module.InitSound(0);
        int32_t loaded = 0;
        for (const char* name : {"その他.wav", "禁止.wav", "駒打音.wav", "BGM.wav"}) loaded += module.LoadSound(name, 3) != 0;
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (loaded != 4) state.SkipWithError("a shipped sound did not load");
        module.TermSound();
    }
}
BENCHMARK(BM_InitSoundAndLoadFour)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
