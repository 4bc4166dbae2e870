// Composes the game's four sounds and writes them into the folder given on the command line:
//   compose <folder>
// Running it again gives byte-identical files; the committed WAVs are its output.

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <exception>
#include <stdexcept>
#include <utility>

#include "synthesis.h"

using namespace quolvet::compose;

namespace {

// The rate the game mixes at, so its sounds load without converting.
constexpr int effectRate = 44100;
// The music is played on strings at half the rate, which gives their tone, then written at the
// game's rate.
constexpr int musicRate = 22050;

struct Mode {
    double frequency, amplitude, decaySeconds;
};

Samples ringModes(const std::vector<Mode>& modes, double seconds, int rate) {
    Samples out(size_t(seconds * rate), 0.0);
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        for (const Mode& m : modes) out[i] += m.amplitude * std::exp(-t / m.decaySeconds) * std::sin(2 * pi * m.frequency * t);
    }
    return out;
}

// A piece set down on the board: the hard click of the wood edge, the ring of the piece and the
// dull answer of the thick board beneath.
Samples pieceTap() {
    Noise noise(0x4b6f6d61);
    Samples tap = ringModes({{1240, 0.9, 0.016}, {1990, 0.7, 0.011}, {2860, 0.5, 0.008},
                             {4130, 0.35, 0.005}, {5570, 0.2, 0.0035},
                             {185, 0.55, 0.030}, {370, 0.25, 0.020}},
                            0.16, effectRate);
    double previous = 0.0;
    for (size_t i = 0; i < size_t(0.004 * effectRate); ++i) {
        const double n = noise.next();
        tap[i] += 1.4 * std::exp(-double(i) / (0.0006 * effectRate)) * (n - previous);
        previous = n;
    }
    Samples room(tap);
    mixInto(room, tap, size_t(0.007 * effectRate), 0.18, false);
    mixInto(room, tap, size_t(0.013 * effectRate), 0.09, false);
    const size_t fade = size_t(0.02 * effectRate);
    for (size_t i = 0; i < fade; ++i) room[room.size() - 1 - i] *= double(i) / fade;
    return room;
}

// Two soft, low, falling notes: "not so".
Samples refusal() {
    Samples out(size_t(0.36 * effectRate), 0.0);
    auto note = [&](double frequency, double start, double length) {
        const size_t first = size_t(start * effectRate), count = size_t(length * effectRate);
        for (size_t i = 0; i < count; ++i) {
            const double t = double(i) / effectRate;
            const double attack = std::min(1.0, t / 0.008);
            const double release = std::min(1.0, (length - t) / 0.025);
            const double envelope = attack * release * std::exp(-t / 0.11);
            double voice = 0.0;
            for (int k = 1; k <= 7; ++k) voice += (k % 2 ? 1.0 : 0.35) / std::pow(k, 1.3) * std::sin(2 * pi * k * frequency * t);
            out[first + i] += envelope * voice;
        }
    };
    note(196.0, 0.0, 0.13);
    note(146.8, 0.15, 0.2);
    return out;
}

// A small bell struck twice, rising: a bright "pin-pon".
Samples chime() {
    Samples out(size_t(1.3 * effectRate), 0.0);
    auto bell = [&](double frequency, double start, double loudness) {
        Samples b = ringModes({{frequency, 1.0, 0.55}, {2 * frequency, 0.22, 0.28},
                               {3 * frequency, 0.1, 0.16}, {4.16 * frequency, 0.07, 0.08}},
                              1.3 - start, effectRate);
        mixInto(out, b, size_t(start * effectRate), loudness, false);
    };
    bell(1318.5, 0.0, 0.8);
    bell(1975.5, 0.11, 1.0);
    const size_t fade = size_t(0.08 * effectRate);
    for (size_t i = 0; i < fade; ++i) out[out.size() - 1 - i] *= double(i) / fade;
    return reverberate(out, 0.2, effectRate, false);
}

// The tune, in the miyako-bushi scale on E (E F A B C), for two koto: a melody and a low,
// rocking accompaniment. Times are in eighth notes, sixty quarter notes to the minute.
struct Note {
    int start, pitch, length;
};

constexpr int E4 = 64, F4 = 65, A4 = 69, B4 = 71, C5 = 72, E5 = 76;
constexpr int eighthsPerBar = 8;
constexpr int bars = 8;
constexpr int samplesPerEighth = musicRate / 2;
// The seam of the loop lies a moment before the first pluck, among ringing strings, not on it.
constexpr size_t seamLead = musicRate / 32;

std::vector<Note> melody() {
    const std::vector<std::vector<std::pair<int, int>>> phrase = {
        {{A4, 2}, {B4, 2}, {C5, 4}},
        {{B4, 2}, {A4, 1}, {B4, 1}, {F4, 4}},
        {{E4, 2}, {F4, 2}, {A4, 2}, {B4, 1}, {A4, 1}},
        {{F4, 2}, {E4, 6}},
        {{E5, 3}, {C5, 1}, {B4, 2}, {C5, 2}},
        {{A4, 2}, {B4, 1}, {A4, 1}, {F4, 4}},
        {{A4, 2}, {C5, 1}, {B4, 1}, {A4, 2}, {F4, 2}},
        {{E4, 6}, {0, 2}},
    };
    std::vector<Note> notes;
    for (int bar = 0; bar < bars; ++bar) {
        int at = bar * eighthsPerBar;
        for (auto [pitch, length] : phrase[size_t(bar)]) {
            if (pitch != 0) notes.push_back({at, pitch, length});
            at += length;
        }
    }
    return notes;
}

std::vector<Note> accompaniment() {
    constexpr int A2 = 45, E2 = 40, F2 = 41;
    const int roots[bars] = {A2, E2, A2, E2, A2, F2, A2, E2};
    std::vector<Note> notes;
    for (int bar = 0; bar < bars; ++bar) {
        const int at = bar * eighthsPerBar, root = roots[bar];
        const bool cadence = bar % 4 == 3;
        notes.push_back({at, root, 4});
        notes.push_back({at + 2, root + 7, 2});
        notes.push_back({at + 4, root + 12, 4});
        if (!cadence) notes.push_back({at + 6, root + 7, 2});
    }
    return notes;
}

Samples music() {
    Noise noise(0x6b6f746f);
    Samples mix(size_t(bars * eighthsPerBar * samplesPerEighth), 0.0);
    auto play = [&](const std::vector<Note>& notes, double loudness, double brightness, double ring) {
        for (const Note& n : notes) {
            const double frequency = midiFrequency(n.pitch);
            const double decay = ring * std::pow(220.0 / frequency, 0.25);
            const double accent = n.start % eighthsPerBar == 0 ? 1.0 : 0.85 + 0.1 * noise.next();
            Samples string = pluckString(frequency, decay * 1.2, brightness, 0.12, decay, musicRate, noise);
            mixInto(mix, string, seamLead + size_t(n.start * samplesPerEighth), loudness * accent, true);
        }
    };
    play(melody(), 1.0, 0.75, 2.6);
    play(accompaniment(), 0.45, 0.5, 3.2);
    return reverberate(mix, 0.35, musicRate, true);
}

int peakOf(const std::vector<int16_t>& samples) {
    int peak = 0;
    for (int16_t s : samples) peak = std::max(peak, std::abs(int(s)));
    return peak;
}

double rmsDb(const std::vector<int16_t>& samples) {
    double sum = 0.0;
    for (int16_t s : samples) sum += double(s) * s;
    return 10.0 * std::log10(sum / double(samples.size()) / (32768.0 * 32768.0));
}

// The balance the game is heard with: the effects within 6 dB RMS of one another, so none stands
// out, and any effect's peak on top of the music's peak still below full scale, so no effect
// clips over the music wherever it falls.
void checkBalance(const std::vector<std::vector<int16_t>>& effects, const std::vector<int16_t>& music) {
    double quietest = 0.0, loudest = -200.0;
    for (const auto& effect : effects) {
        quietest = std::min(quietest, rmsDb(effect));
        loudest = std::max(loudest, rmsDb(effect));
        if (peakOf(effect) + peakOf(music) > 32767) throw std::runtime_error("an effect clips over the music");
    }
    if (loudest - quietest > 6.0) throw std::runtime_error("the effects differ by more than 6 dB RMS");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    try {
        const std::filesystem::path folder = argv[1];
        std::filesystem::create_directories(folder);
        // Peaks chosen for loudness: the tap is nearly all attack, the refusal nearly all body.
        const std::vector<std::vector<int16_t>> effects{
            writeWave(folder / "駒打音.wav", pieceTap(), effectRate, -5.0),
            writeWave(folder / "禁止.wav", refusal(), effectRate, -14.7),
            writeWave(folder / "その他.wav", chime(), effectRate, -9.8),
        };
        checkBalance(effects, writeWave(folder / "BGM.wav", loopAtDoubleRate(music()), 2 * musicRate, -8.0));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
