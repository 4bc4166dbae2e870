#include "synthesis.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace quolvet::compose {

double Noise::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return double(state_) / 2147483648.0 - 1.0;
}

double midiFrequency(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

void mixInto(Samples& mix, const Samples& sound, size_t start, double gain, bool wrap) {
    for (size_t i = 0; i < sound.size(); ++i) {
        size_t at = start + i;
        if (at >= mix.size()) {
            if (!wrap) return;
            at %= mix.size();
        }
        mix[at] += gain * sound[i];
    }
}

Samples pluckString(double frequency, double seconds, double brightness, double pluckPoint,
                    double decaySeconds, int rate, Noise& noise) {
    // The loop delays by the line, half a sample in the averaging filter and the allpass's share.
    const double period = rate / frequency;
    const int length = int(std::floor(period - 0.5 - 0.1));
    const double fraction = period - 0.5 - length;
    const double allpass = (1.0 - fraction) / (1.0 + fraction);
    const double loopGain = std::pow(10.0, -3.0 / (decaySeconds * frequency));

    // The pick excites a band of noise; plucking near the end takes out the harmonics with a
    // node there, which gives the string its nasal edge.
    Samples line(size_t(length), 0.0);
    double smooth = 0.0;
    for (double& s : line) {
        smooth += brightness * (noise.next() - smooth);
        s = smooth;
    }
    const int pluckDelay = std::max(1, int(std::lround(length * pluckPoint)));
    Samples plucked(line);
    for (int i = pluckDelay; i < length; ++i) plucked[size_t(i)] = line[size_t(i)] - line[size_t(i - pluckDelay)];
    double mean = 0.0;
    for (double s : plucked) mean += s;
    mean /= length;
    for (double& s : plucked) s -= mean;

    Samples out(size_t(seconds * rate));
    double previous = 0.0, allpassIn = 0.0, allpassOut = 0.0;
    size_t at = 0;
    for (double& o : out) {
        const double s = plucked[at];
        const double averaged = 0.5 * (s + previous);
        previous = s;
        const double shifted = allpass * averaged + allpassIn - allpass * allpassOut;
        allpassIn = averaged;
        allpassOut = shifted;
        plucked[at] = loopGain * shifted;
        at = (at + 1) % plucked.size();
        o = s;
    }
    // A short fade so a note cut at its length ends at rest.
    const size_t fade = std::min(out.size(), size_t(rate / 50));
    for (size_t i = 0; i < fade; ++i) out[out.size() - 1 - i] *= double(i) / fade;
    return out;
}

namespace {

class Comb {
public:
    Comb(size_t delay, double feedback, double damping) : line_(delay, 0.0), feedback_(feedback), damping_(damping) {}
    double process(double in) {
        const double out = line_[at_];
        stored_ = out * (1.0 - damping_) + stored_ * damping_;
        line_[at_] = in + stored_ * feedback_;
        at_ = (at_ + 1) % line_.size();
        return out;
    }

private:
    Samples line_;
    double feedback_, damping_, stored_ = 0.0;
    size_t at_ = 0;
};

class Allpass {
public:
    explicit Allpass(size_t delay) : line_(delay, 0.0) {}
    double process(double in) {
        const double delayed = line_[at_];
        const double out = delayed - 0.5 * in;
        line_[at_] = in + 0.5 * delayed;
        at_ = (at_ + 1) % line_.size();
        return out;
    }

private:
    Samples line_;
    size_t at_ = 0;
};

size_t scaled(int samplesAt44100, int rate) { return size_t(samplesAt44100 * double(rate) / 44100.0); }

}  // namespace

Samples reverberate(const Samples& dry, double wet, int rate, bool loop) {
    std::vector<Comb> combs;
    for (int delay : {1116, 1188, 1277, 1356, 1422, 1491}) combs.emplace_back(scaled(delay, rate), 0.78, 0.35);
    std::vector<Allpass> allpasses;
    for (int delay : {556, 441, 341}) allpasses.emplace_back(scaled(delay, rate));

    const size_t passes = loop ? 2 : 1;
    Samples out(dry.size());
    for (size_t pass = 0; pass < passes; ++pass) {
        for (size_t i = 0; i < dry.size(); ++i) {
            double room = 0.0;
            for (Comb& comb : combs) room += comb.process(dry[i]);
            room /= double(combs.size());
            for (Allpass& allpassFilter : allpasses) room = allpassFilter.process(room);
            out[i] = dry[i] + wet * room;
        }
    }
    return out;
}


Samples loopAtDoubleRate(const Samples& loop) {
    constexpr int taps = 16;  // on each side
    double weights[taps], sum = 0.0;
    for (int k = 0; k < taps; ++k) {
        const double t = k + 0.5, window = 0.42 + 0.5 * std::cos(pi * t / taps) + 0.08 * std::cos(2 * pi * t / taps);
        weights[k] = std::sin(pi * t) / (pi * t) * window;
        sum += 2 * weights[k];
    }
    const size_t n = loop.size();
    Samples out(2 * n);
    for (size_t i = 0; i < n; ++i) {
        double between = 0.0;
        for (size_t k = 0; k < taps; ++k) between += weights[k] * (loop[(i + n - k) % n] + loop[(i + 1 + k) % n]);
        out[2 * i] = loop[i];
        out[2 * i + 1] = between / sum;
    }
    return out;
}

std::vector<int16_t> writeWave(const std::filesystem::path& file, const Samples& samples, int rate, double peakDb) {
    double peak = 0.0;
    for (double s : samples) peak = std::max(peak, std::fabs(s));
    const double scale = peak > 0.0 ? std::pow(10.0, peakDb / 20.0) * 32767.0 / peak : 0.0;

    std::vector<uint8_t> bytes;
    auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(v >> (8 * i))); };
    auto put16 = [&](uint16_t v) { bytes.push_back(uint8_t(v)); bytes.push_back(uint8_t(v >> 8)); };
    auto putTag = [&](const char* tag) { for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(tag[i])); };
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    putTag("RIFF");
    put32(36 + dataBytes);
    putTag("WAVE");
    putTag("fmt ");
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(uint32_t(rate));
    put32(uint32_t(rate * 2));
    put16(2);
    put16(16);
    putTag("data");
    put32(dataBytes);
    std::vector<int16_t> written;
    for (double s : samples) written.push_back(int16_t(std::lround(std::clamp(s * scale, -32767.0, 32767.0))));
    for (int16_t s : written) put16(uint16_t(s));

    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
    return written;
}

}  // namespace quolvet::compose
