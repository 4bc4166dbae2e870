#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

// The small toolbox the game's sounds are made with. Everything is deterministic: the same
// program run twice writes the same bytes.
namespace quolvet::compose {

using Samples = std::vector<double>;

constexpr double pi = 3.14159265358979323846;

// A fixed pseudo-random sequence in [-1, 1), so no two runs differ.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed) {}
    double next();

private:
    uint32_t state_;
};

double midiFrequency(int note);

// Adds `sound` into `mix` from `start` on; with `wrap`, what runs past the end continues at the
// beginning, which is how a looped piece rings on across its seam.
void mixInto(Samples& mix, const Samples& sound, size_t start, double gain, bool wrap);

// A plucked string (Karplus–Strong with a fractional-delay allpass for true pitch). Brightness
// in (0, 1]; the pluck point as a fraction of the string from its end.
Samples pluckString(double frequency, double seconds, double brightness, double pluckPoint,
                    double decaySeconds, int rate, Noise& noise);

// A small room (Schroeder: parallel damped combs, then allpasses). For a loop the input is run
// through twice and the second pass kept, so the tail of the end carries into the beginning.
Samples reverberate(const Samples& dry, double wet, int rate, bool loop);

// A loop at twice its rate, the new samples between the old ones band-limited (windowed sinc)
// and taken round the seam.
Samples loopAtDoubleRate(const Samples& loop);

// Scales to the given peak in dBFS and writes 16-bit mono PCM; answers the samples written.
std::vector<int16_t> writeWave(const std::filesystem::path& file, const Samples& samples, int rate, double peakDb);

}  // namespace quolvet::compose
