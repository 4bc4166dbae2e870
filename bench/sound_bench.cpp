// Start-up cost of the sound: opening the device and loading the four shipped sounds, the
// music with the flags the game gives it.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

#include "module1.h"

namespace {

double initSoundAndLoadFour(quolvet::Module1& module, benchmark::State& state) {
    const auto start = std::chrono::steady_clock::now();
    module.InitSound(0);
    int32_t loaded = 0;
    for (const char* name : {"その他.wav", "禁止.wav", "駒打音.wav"}) loaded += module.LoadSound(name, 3) != 0;
    loaded += module.LoadSound("BGM.wav", 1) != 0;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (loaded != 4) state.SkipWithError("a shipped sound did not load");
    return seconds;
}

// Closing the device waits for the audio thread; that belongs to shut-down, not start-up, so
// each round is timed by hand.
void BM_InitSoundAndLoadFour(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    quolvet::SystemSoundLibrary library;
    quolvet::Module1 module(library, {QUOLVET_SOUND_SOURCE_DATA}, [](const std::string&) {});
    for (auto _ : state) {
        state.SetIterationTime(initSoundAndLoadFour(module, state));
        module.TermSound();
    }
}

// What the player waits for: the first round in a fresh process, before SDL, the allocator and
// the page tables are warm. Registered first so that it runs first; run the program several
// times for a spread.
BENCHMARK(BM_InitSoundAndLoadFour)->Name("BM_InitSoundAndLoadFour/first_in_process")->Iterations(1)
    ->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InitSoundAndLoadFour)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
