#include "wave_image.h"

#include <cstdio>

namespace quolvet {
namespace {

constexpr uint64_t riffHeaderBytes = 12;
constexpr uint64_t chunkHeaderBytes = 8;
constexpr uint64_t smallestFmtBytes = 16;
constexpr uint32_t lowestRate = 8000;
constexpr uint32_t highestRate = 192000;

uint32_t readLittle32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t readLittle16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

bool hasTag(const uint8_t* p, const char* tag) {
    return p[0] == tag[0] && p[1] == tag[1] && p[2] == tag[2] && p[3] == tag[3];
}

bool isDecodableFormatTag(uint16_t tag) {
    switch (tag) {
    case 0x0001:  // PCM
    case 0x0002:  // Microsoft ADPCM
    case 0x0003:  // IEEE float
    case 0x0006:  // A-law
    case 0x0007:  // mu-law
    case 0x0011:  // IMA ADPCM
    case 0xFFFE:  // extensible
        return true;
    default:
        return false;
    }
}

WaveImage refused(std::string why) { return WaveImage{std::move(why)}; }

std::string truncatedChunk(const uint8_t* tag) {
    return "ファイルが途中で切れています（「" + std::string(reinterpret_cast<const char*>(tag), 4) +
           "」チャンクが最後まで揃っていません）。";
}

}  // namespace

WaveImage inspectWaveImage(const uint8_t* image, uint32_t size) {
    if (image == nullptr || size == 0) return refused("ファイルが空です。");
    if (size < riffHeaderBytes || !hasTag(image, "RIFF") || !hasTag(image + 8, "WAVE"))
        return refused("WAVEファイルではありません。");

    const uint64_t end = uint64_t(readLittle32(image + 4)) + chunkHeaderBytes;
    if (end > size) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "ファイルが途中で切れています（見出しでは%llu バイト、実際は%u バイトです）。",
                      static_cast<unsigned long long>(end), size);
        return refused(text);
    }

    const uint8_t* fmt = nullptr;
    const uint8_t* data = nullptr;
    uint32_t dataBytes = 0;
    bool dataSeen = false;
    for (uint64_t at = riffHeaderBytes; at + chunkHeaderBytes <= end;) {
        const uint8_t* chunk = image + at;
        const uint64_t bytes = readLittle32(chunk + 4);
        if (at + chunkHeaderBytes + bytes > end) return refused(truncatedChunk(chunk));
        if (hasTag(chunk, "fmt ") && fmt == nullptr) {
            if (bytes < smallestFmtBytes) return refused("「fmt 」チャンクが短すぎます。");
            fmt = chunk + chunkHeaderBytes;
        } else if (hasTag(chunk, "data") && !dataSeen) {
            dataSeen = true;
            data = chunk + chunkHeaderBytes;
            dataBytes = uint32_t(bytes);
        }
        at += chunkHeaderBytes + bytes + (bytes & 1);  // chunks are padded to an even length
    }

    if (fmt == nullptr) return refused("「fmt 」チャンクがありません。");
    if (!dataSeen) return refused("「data」チャンクがありません。");
    if (readLittle16(fmt + 2) == 0) return refused("チャンネル数が0です。");
    const uint32_t rate = readLittle32(fmt + 4);
    // Rates no sound hardware plays are refused rather than converted.
    if (rate < lowestRate || rate > highestRate) {
        char text[120];
        std::snprintf(text, sizeof text, "再生できないサンプリング周波数です（%u Hz）。", rate);
        return refused(text);
    }
    const uint16_t tag = readLittle16(fmt);
    if (!isDecodableFormatTag(tag)) {
        char text[120];
        std::snprintf(text, sizeof text, "再生できない音声形式です（形式番号 0x%04X）。", tag);
        return refused(text);
    }
    if (dataBytes == 0) return refused("音のデータが空です。");
    const bool plain = tag == 0x0001 && readLittle16(fmt + 2) == 1 && readLittle16(fmt + 12) == 2 && readLittle16(fmt + 14) == 16;
    if (!plain) return WaveImage{"", uint32_t(end)};
    return WaveImage{"", uint32_t(end), data, dataBytes, rate};
}

}  // namespace quolvet
