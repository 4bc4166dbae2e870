// The sound module and library: files refused with their reasons, calls that must do nothing, the
// real output written by SDL's disk driver, and the levels of the shipped sounds.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <ranges>
#include <thread>

#include "module1.h"
#include "quolvet_sound.h"

namespace quolvet {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using MakeFile = std::function<void(const fs::path&)>;
constexpr int16_t level = 6000;
constexpr int outputRate = 44100;

// A mono 16-bit WAVE image of `seconds` at one steady level, easy to find in the mixed output and
// steady through rate conversion, with `extra` bytes of an incomplete last frame. Its fields sit
// at fixed bytes (format tag 20, channels 22, rate 24, bits 34), so the bad files spoil them there.
std::vector<uint8_t> steadyWave(int rate, double seconds, uint32_t extra = 0) {
    const uint32_t dataBytes = uint32_t(seconds * rate) * 2 + extra;
    std::vector<uint8_t> out;
    const auto put = [&out](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
    };
    const auto tag = [&put](const char* t) { put(uint32_t(t[0] | t[1] << 8 | t[2] << 16 | t[3] << 24), 4); };
    tag("RIFF"), put(36 + dataBytes + (dataBytes & 1), 4), tag("WAVE"), tag("fmt "), put(16, 4), put(1, 2), put(1, 2);
    put(uint32_t(rate), 4), put(uint32_t(rate) * 2, 4), put(2, 2), put(16, 2), tag("data"), put(dataBytes, 4);
    for (uint32_t i = 0; i < dataBytes; i += 2) put(uint16_t(level), 2);  // the last two bytes pad an odd length
    return out;
}

MakeFile writes(std::vector<uint8_t> bytes) {
    return [bytes](const fs::path& path) {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    };
}

// A good wave with `bytes` written over it at `at` and its last `cut` bytes left off.
MakeFile spoiledWave(size_t at, std::initializer_list<uint8_t> bytes, size_t cut = 0) {
    std::vector<uint8_t> image = steadyWave(22050, 0.05);
    std::copy(bytes.begin(), bytes.end(), image.begin() + long(at));
    image.resize(image.size() - cut);
    return writes(image);
}

// Bounded, so a stuck driver fails the test instead of hanging it.
bool eventually(const std::function<bool()>& done, std::chrono::seconds limit = 30s) {
    const auto giveUp = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < giveUp) std::this_thread::sleep_for(10ms);
    return done();
}

// SDL's disk driver writes the mixed output to a file in real time, so waits count written frames
// rather than clock time; it starts the file over whenever the device opens.
class Sound : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(folder);
        useDriver("disk");
    }
    void TearDown() override {
        module.TermSound();
        fs::remove_all(folder);
    }
    void useDriver(const char* name) {
        setenv("SDL_AUDIODRIVER", name, 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    }

    int32_t load(int rate, double seconds, uint32_t extra = 0) {
        const std::vector<uint8_t> image = steadyWave(rate, seconds, extra);
        return dsCreateDSB(module.soundDevice, image.data(), uint32_t(image.size()), 3);
    }
    static size_t frames(double seconds) { return size_t(seconds * outputRate); }
    size_t written() const {
        std::error_code missing;
        const auto bytes = fs::file_size(output, missing);
        return missing ? 0 : size_t(bytes) / 2;
    }
    size_t waitFor(double seconds) {
        const size_t target = written() + frames(seconds);
        eventually([&] { return written() >= target; });
        return written();
    }
    // How loud each frame written so far is, from frame `from` on.
    std::vector<int> levelsFrom(size_t from) const {
        std::vector<int16_t> samples(written());
        std::ifstream(output, std::ios::binary).read(reinterpret_cast<char*>(samples.data()), std::streamsize(samples.size() * 2));
        std::vector<int> levels;
        for (size_t i = from; i < samples.size(); ++i) levels.push_back(std::abs(int(samples[i])));
        return levels;
    }

    fs::path folder = fs::temp_directory_path() / ("quolvet-sound-" + std::to_string(getpid()));
    fs::path output = folder / "output.raw";
    std::vector<std::string> warnings;
    SystemSoundLibrary library;
    Module1 module{library, {folder, QUOLVET_SOUND_SOURCE_DATA}, [this](const std::string& text) { warnings.push_back(text); }};
};

// Frames in [from, to) louder than `threshold`.
size_t framesAbove(int threshold, const std::vector<int>& out, size_t from, size_t to = SIZE_MAX) {
    const auto at = [&out](size_t frame) { return out.begin() + long(std::min(frame, out.size())); };
    return size_t(std::count_if(at(from), at(std::max(from, to)), [threshold](int loud) { return loud > threshold; }));
}

TEST_F(Sound, RefusesEveryBadFileWithItsReason) {
    std::vector<uint8_t> noise(300);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = uint8_t(i * 2654435761u >> 13);
    const std::string truncated = "ファイルが途中で切れています";
    std::vector<std::tuple<std::string, MakeFile, std::string>> files{
        {"empty.wav", writes({}), "ファイルが空です。"},
        {"header_only.wav", spoiledWave(0, {}, 2204), truncated},
        {"truncated.wav", spoiledWave(0, {}, 100), truncated},
        {"riff_too_long.wav", spoiledWave(6, {0x40}), truncated},
        {"no_fmt.wav", spoiledWave(12, {'j', 'u', 'n', 'k'}), "「fmt 」チャンクがありません。"},
        {"zero_channels.wav", spoiledWave(22, {0}), "チャンネル数が0です。"},
        {"8_hz.wav", spoiledWave(24, {8, 0}), "再生できないサンプリング周波数です（8 Hz）。"},
        {"200000_hz.wav", spoiledWave(24, {0x40, 0x0D, 0x03}), "（200000 Hz）"},
        {"unknown_format.wav", spoiledWave(20, {0x34}), "0x0034"},
        // Passes the library's own checks; SDL's decoder is the one that refuses it.
        {"twelve_bits.wav", spoiledWave(34, {12}), "音声を読み込めません"},
        {"random.wav", writes(noise), "WAVEファイルではありません。"},
        {"directory.wav", [](const fs::path& p) { fs::create_directory(p); }, std::strerror(EISDIR)},
    };
    module.InitSound(0);
    for (const auto& [name, make, reason] : files) {
        SCOPED_TRACE(name);
        warnings.clear();
        make(folder / name);
        EXPECT_EQ(module.LoadSound(name, 3), 0);
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_TRUE(warnings[0].starts_with(name + ": ") && warnings[0].find(reason) != std::string::npos) << warnings[0];
    }
    EXPECT_EQ(module.LoadSound("nowhere.wav", 3), 0);
    EXPECT_EQ(warnings.size(), 1u);
}

void callEverythingOn(int32_t sound) {
    dsPlay(sound);
    dsPlayLooping(sound);
    dsStop(sound);
    dsFree(sound);
}

TEST_F(Sound, EveryCallOnAnAbsentHandleDoesNothing) {
    const std::vector<uint8_t> wave = steadyWave(outputRate, 0.05);
    auto create = [&wave](int32_t device) { return dsCreateDSB(device, wave.data(), uint32_t(wave.size()), 3); };
    callEverythingOn(12345);
    dsTerminate(0);
    EXPECT_EQ(create(0), 0);
    module.InitSound(0);
    const int32_t device = module.soundDevice;
    EXPECT_EQ(create(device + 1), 0);
    const int32_t freed = create(device);
    callEverythingOn(freed);  // the first round frees it
    callEverythingOn(freed);
    dsTerminate(device + 1);  // not the open device: leaves it be
    const int32_t kept = create(device);
    ASSERT_NE(kept, 0);
    dsPlayLooping(kept);
    module.TermSound();
    callEverythingOn(kept);
    dsTerminate(device);
}

TEST_F(Sound, EffectsOverlapAndMusicLoopsOnWholeFramesUntilStopped) {
    module.InitSound(0);
    const int32_t effect = load(outputRate, 0.3);
    const int32_t music = load(22050, 0.2, 1);  // converted as it plays; half a frame at the end
    const size_t start = waitFor(0.05);
    dsPlay(effect);
    const size_t two = waitFor(0.6) - start;
    dsPlay(effect);
    dsPlay(effect);
    const size_t looped = waitFor(0.6) - start;
    dsPlayLooping(music);
    dsPlayLooping(music);  // still one loop, not two on top of each other
    waitFor(1.0);
    dsStop(music);
    const size_t stopped = written() - start;
    waitFor(0.5);
    const std::vector<int> out = levelsFrom(start);
    EXPECT_GT(framesAbove(level * 3 / 4, out, 0, two), frames(0.25));
    EXPECT_EQ(framesAbove(level * 5 / 4, out, 0, two), 0u);
    EXPECT_GT(framesAbove(level * 7 / 4, out, two, looped), frames(0.25));
    EXPECT_GT(framesAbove(level / 2, out, looped, stopped), frames(4 * 0.2));
    EXPECT_EQ(framesAbove(level * 5 / 4, out, looped, stopped), 0u);
    // What was mixed before the stop may still be on its way to the file.
    EXPECT_EQ(framesAbove(level / 2, out, stopped + frames(0.15)), 0u);
}

// SDL names the thread that feeds an open playback device "SDLAudioP…".
bool audioThreadRuns() {
    for (const auto& task : fs::directory_iterator("/proc/self/task")) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        if (name.starts_with("SDLAudio")) return true;
    }
    return false;
}

TEST_F(Sound, ClosesTheDeviceOnceQuietAndOpensItAgainToPlay) {
    module.InitSound(0);
    const int32_t music = load(22050, 0.1);
    dsPlay(load(outputRate, 0.1));
    ASSERT_TRUE(eventually(audioThreadRuns));
    ASSERT_TRUE(eventually([] { return !audioThreadRuns(); }, 10s));
    dsPlayLooping(music);
    EXPECT_TRUE(eventually([&] { return framesAbove(level / 2, levelsFrom(0), 0) > frames(0.3); }));
}

TEST_F(Sound, WithoutAnyOutputWarnsOnceAndLaterFindsOneQuietly) {
    useDriver("no-such-driver");
    module.InitSound(0);
    EXPECT_EQ(warnings, std::vector<std::string>{"Direct Soundインターフェースが作成できません。"});
    const int32_t music = module.LoadSound("BGM.wav", 1);
    ASSERT_NE(music, 0);
    dsPlayLooping(music);
    std::this_thread::sleep_for(100ms);
    useDriver("disk");
    EXPECT_TRUE(eventually([&] { return framesAbove(1000, levelsFrom(0), 0) > 100; }));
    EXPECT_EQ(warnings.size(), 1u);
}

// Qt calls exit() when its display goes away; the library's threads must not hold the process.
TEST_F(Sound, AProgramThatNeverClosesItStillEnds) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto playAndExit = [this] {
        alarm(10);  // a hang fails here rather than holding the suite
        module.InitSound(0);
        dsPlayLooping(load(outputRate, 0.5));
        waitFor(0.1);
        std::exit(0);
    };
    EXPECT_EXIT(playAndExit(), ::testing::ExitedWithCode(0), "");
}

std::vector<int16_t> shippedSamples(const char* name) {
    std::ifstream file(fs::path(QUOLVET_SOUND_SOURCE_DATA) / name, std::ios::binary);
    file.seekg(44);  // the composer's plain header; 16-bit mono samples follow
    std::vector<int16_t> samples(fs::file_size(fs::path(QUOLVET_SOUND_SOURCE_DATA) / name) / 2 - 22);
    file.read(reinterpret_cast<char*>(samples.data()), std::streamsize(samples.size() * 2));
    return samples;
}

// The effects sit within 6 dB of one another, and none clips over the loudest of the music.
TEST(ShippedSounds, EffectsMatchInLoudnessAndNeverClipOverTheMusic) {
    const auto peak = [](const std::vector<int16_t>& s) { return std::ranges::max(s | std::views::transform([](int16_t v) { return std::abs(int(v)); })); };
    const auto rmsDb = [](const std::vector<int16_t>& s) {
        return 10 * std::log10(std::transform_reduce(s.begin(), s.end(), 0.0, std::plus<>(), [](double v) { return v * v; }) / double(s.size()));
    };
    const int musicPeak = peak(shippedSamples("BGM.wav"));
    std::vector<double> loudness;
    for (const char* name : {"その他.wav", "禁止.wav", "駒打音.wav"}) {
        const std::vector<int16_t> effect = shippedSamples(name);
        EXPECT_LT(peak(effect) + musicPeak, 32768) << name;
        loudness.push_back(rmsDb(effect));
    }
    EXPECT_LE(std::ranges::max(loudness) - std::ranges::min(loudness), 6.0);
}

}  // namespace
}  // namespace quolvet
