#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

// Small WAVE file images made in memory, and ways to spoil them.
namespace quolvet::testing {

struct WaveFormat {
    uint16_t tag = 1;
    uint16_t channels = 1;
    uint32_t rate = 22050;
    uint16_t bits = 16;
};

inline void put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

inline void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, uint16_t(v));
    put16(out, uint16_t(v >> 16));
}

inline void putChunk(std::vector<uint8_t>& out, const char* tag, const std::vector<uint8_t>& body) {
    out.insert(out.end(), tag, tag + 4);
    put32(out, uint32_t(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2) out.push_back(0);
}

inline std::vector<uint8_t> fmtBody(const WaveFormat& f) {
    std::vector<uint8_t> body;
    const uint16_t blockAlign = uint16_t(f.channels * f.bits / 8);
    put16(body, f.tag);
    put16(body, f.channels);
    put32(body, f.rate);
    put32(body, f.rate * blockAlign);
    put16(body, blockAlign);
    put16(body, f.bits);
    return body;
}

inline std::vector<uint8_t> riff(const std::vector<uint8_t>& chunks) {
    std::vector<uint8_t> out{'R', 'I', 'F', 'F'};
    put32(out, uint32_t(chunks.size() + 4));
    out.insert(out.end(), {'W', 'A', 'V', 'E'});
    out.insert(out.end(), chunks.begin(), chunks.end());
    return out;
}

// `seconds` of a steady level: easy to recognise in the mixed output, and steady through
// resampling.
inline std::vector<uint8_t> steadyWave(double seconds, int16_t level, const WaveFormat& format = {}) {
    std::vector<uint8_t> samples;
    const size_t count = size_t(seconds * format.rate) * format.channels;
    for (size_t i = 0; i < count; ++i) put16(samples, uint16_t(level));
    std::vector<uint8_t> chunks;
    putChunk(chunks, "fmt ", fmtBody(format));
    putChunk(chunks, "data", samples);
    return riff(chunks);
}

}  // namespace quolvet::testing
