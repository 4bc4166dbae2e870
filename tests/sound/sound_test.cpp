// The sound module and library: files refused with their reasons, calls that must do nothing,
// and the real output, written by SDL's disk audio driver to a file per test.

#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "module1.h"
#include "quolvet_sound.h"

namespace quolvet {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using MakeFile = std::function<void(const fs::path&)>;

// A 22050 Hz mono 16-bit WAVE image of `seconds` at one steady level: easy to find in the mixed
// output and steady through resampling. Its fields sit at fixed bytes (format tag 20, channels
// 22, bits 34, samples from 44), so the bad files below spoil them by position.
std::vector<uint8_t> steadyWave(double seconds, int16_t level) {
    const uint32_t dataBytes = uint32_t(seconds * 22050) * 2;
    auto tag = [](const char* t) { return uint32_t(t[0]) | uint32_t(t[1]) << 8 | uint32_t(t[2]) << 16 | uint32_t(t[3]) << 24; };
    // Each field's value and its width in bytes, little-endian.
    std::vector<std::pair<uint32_t, int>> fields{
        {tag("RIFF"), 4}, {36 + dataBytes, 4}, {tag("WAVE"), 4}, {tag("fmt "), 4}, {16, 4}, {1, 2}, {1, 2},
        {22050, 4},       {44100, 4},          {2, 2},           {16, 2},          {tag("data"), 4}, {dataBytes, 4}};
    fields.resize(fields.size() + dataBytes / 2, {uint16_t(level), 2});
    std::vector<uint8_t> out;
    for (const auto& [value, bytes] : fields)
        for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
    return out;
}

std::vector<uint8_t> goodWave() { return steadyWave(0.05, 3000); }

MakeFile writes(std::vector<uint8_t> bytes) {
    return [bytes](const fs::path& path) {
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    };
}

// A good wave with `bytes` written over it at `at` and its last `cut` bytes left off.
MakeFile spoiledWave(size_t at, std::initializer_list<uint8_t> bytes, size_t cut = 0) {
    std::vector<uint8_t> image = goodWave();
    std::copy(bytes.begin(), bytes.end(), image.begin() + long(at));
    image.resize(image.size() - cut);
    return writes(image);
}

class SoundModule : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        fs::create_directories(folder);
    }
    void TearDown() override {
        module.TermSound();
        fs::remove_all(folder);
    }

    SystemSoundLibrary library;
    std::vector<std::string> warnings;
    fs::path folder = fs::temp_directory_path() / ("quolvet-sound-" + std::to_string(getpid()));
    Module1 module{library, {folder, QUOLVET_SOUND_SOURCE_DATA}, [this](const std::string& text) { warnings.push_back(text); }};
};

// A file's name, how to make it, and what the warning about it says.
std::vector<std::tuple<std::string, MakeFile, std::string>> badFiles() {
    std::vector<uint8_t> noise(300);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = uint8_t(i * 2654435761u >> 13);
    const std::string truncated = "ファイルが途中で切れています";
    std::vector<std::tuple<std::string, MakeFile, std::string>> files{
        {"empty.wav", writes({}), "ファイルが空です。"},
        {"header_only.wav", spoiledWave(0, {}, goodWave().size() - 44), truncated},
        {"truncated.wav", spoiledWave(0, {}, 100), truncated},
        {"riff_too_long.wav", spoiledWave(6, {0x40}), truncated},
        {"no_fmt.wav", spoiledWave(12, {'j', 'u', 'n', 'k'}), "「fmt 」チャンクがありません。"},
        {"zero_channels.wav", spoiledWave(22, {0}), "チャンネル数が0です。"},
        {"unknown_format.wav", spoiledWave(20, {0x34}), "0x0034"},
        // Passes the library's own checks; SDL's decoder is the one that refuses it.
        {"twelve_bits.wav", spoiledWave(34, {12}), "音声を読み込めません"},
        {"random.wav", writes(noise), "WAVEファイルではありません。"},
        {"directory.wav", [](const fs::path& p) { fs::create_directory(p); }, std::strerror(EISDIR)},
    };
    auto locked = [](const fs::path& p) { writes(goodWave())(p); fs::permissions(p, fs::perms::none); };
    if (geteuid() != 0) files.emplace_back("locked.wav", locked, std::strerror(EACCES));  // root reads every file
    return files;
}

TEST_F(SoundModule, RefusesEveryBadFileWithItsReason) {
    module.InitSound(0);
    // The streamed music and the effects answer to the same rules.
    for (const int32_t flags : {3, 1})
        for (const auto& [name, make, reason] : badFiles()) {
            SCOPED_TRACE(name + " flags " + std::to_string(flags));
            warnings.clear();
            make(folder / name);
            EXPECT_EQ(module.LoadSound(name, flags), 0);
            ASSERT_EQ(warnings.size(), 1u);
            EXPECT_TRUE(warnings[0].starts_with(name + ": ") && warnings[0].find(reason) != std::string::npos) << warnings[0];
        }
}

TEST_F(SoundModule, LoadsTheShippedSoundsAndSilentlySkipsMissingOnes) {
    module.InitSound(0);
    for (const char* name : {"その他.wav", "禁止.wav", "駒打音.wav"}) EXPECT_NE(module.LoadSound(name, 3), 0) << name;
    EXPECT_NE(module.LoadSound("BGM.wav", 1), 0);
    EXPECT_EQ(module.LoadSound("nowhere.wav", 3), 0);
    EXPECT_TRUE(warnings.empty());
}

void callEverythingOn(int32_t sound) {
    dsPlay(sound);
    dsPlayLooping(sound);
    dsStop(sound);
    dsFree(sound);
}

TEST_F(SoundModule, WithoutADeviceWarnsOnceAndStaysSilent) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    module.InitSound(0);
    EXPECT_EQ(module.LoadSound("BGM.wav", 1), 0);
    callEverythingOn(0);
    module.TermSound();
    EXPECT_EQ(warnings, std::vector<std::string>{"Direct Soundインターフェースが作成できません。"});
}

TEST(SoundLibrary, EveryCallOnAnAbsentHandleDoesNothing) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::vector<uint8_t> wave = goodWave();
    auto create = [&wave](int32_t device) { return dsCreateDSB(device, wave.data(), uint32_t(wave.size()), 3); };
    callEverythingOn(12345);
    dsTerminate(0);
    EXPECT_EQ(create(0), 0);
    const int32_t device = dsInitialize(0);
    EXPECT_EQ(create(device + 1), 0);
    EXPECT_EQ(dsCreateDSB(device, nullptr, 0, 3), 0);
    const int32_t freed = create(device);
    callEverythingOn(freed);  // the first round frees it
    callEverythingOn(freed);
    dsTerminate(device + 1);  // not the open device: leaves it be
    const int32_t kept = create(device);
    ASSERT_NE(kept, 0);
    dsPlayLooping(kept);
    dsTerminate(device);
    callEverythingOn(kept);
    dsTerminate(device);
}

constexpr int16_t level = 6000;

// Bounded, so a stuck driver fails the test instead of hanging it.
bool eventually(const std::function<bool()>& done, std::chrono::seconds limit = 30s) {
    const auto giveUp = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < giveUp) std::this_thread::sleep_for(10ms);
    return done();
}

// The disk driver writes in real time, so waits count written frames rather than clock time.
class DiskOutput : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        start();
    }
    void TearDown() override {
        dsTerminate(device);
        fs::remove(output);
    }
    void start() {
        device = dsInitialize(0);
        ASSERT_NE(device, 0);
        Mix_QuerySpec(&rate, nullptr, &channels);
    }

    int32_t load(double seconds, int32_t flags = 3) {
        const std::vector<uint8_t> image = steadyWave(seconds, level);
        return dsCreateDSB(device, image.data(), uint32_t(image.size()), flags);
    }
    size_t frames(double seconds) const { return size_t(seconds * rate); }
    size_t written() const { return size_t(fs::file_size(output)) / (2 * channels); }
    size_t waitFor(double seconds) {
        const size_t target = written() + frames(seconds);
        eventually([&] { return written() >= target; });
        return written();
    }
    // The loudest sample of each frame written so far, from frame `from` (already written) on.
    std::vector<int> loudestFrom(size_t from) const {
        std::vector<int16_t> samples(written() * channels);
        std::ifstream(output, std::ios::binary).read(reinterpret_cast<char*>(samples.data()), std::streamsize(samples.size() * 2));
        std::vector<int> loudest(samples.size() / channels - from);
        for (size_t i = from * channels; i < samples.size(); ++i)
            loudest[i / channels - from] = std::max(loudest[i / channels - from], std::abs(int(samples[i])));
        return loudest;
    }

    fs::path output = fs::temp_directory_path() / ("quolvet-disk-" + std::to_string(getpid()) + "-" +
                                                   ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".raw");
    int32_t device = 0;
    int rate = 0;
    int channels = 0;
};

// Frames in [from, to) louder than `threshold`; `from` is never past `to`.
size_t framesAbove(int threshold, const std::vector<int>& out, size_t from, size_t to = SIZE_MAX) {
    const auto at = [&out](size_t frame) { return out.begin() + long(std::min(frame, out.size())); };
    return size_t(std::count_if(at(from), at(to), [threshold](int loudest) { return loudest > threshold; }));
}

TEST_F(DiskOutput, EffectsSoundAndOverlapOneAnother) {
    const int32_t sound = load(0.3);
    const size_t start = waitFor(0.05);
    dsPlay(sound);
    const size_t second = waitFor(0.6) - start;
    dsPlay(sound);
    dsPlay(sound);
    waitFor(0.6);
    const std::vector<int> out = loudestFrom(start);
    EXPECT_GT(framesAbove(level * 3 / 4, out, 0, second), frames(0.25));
    EXPECT_EQ(framesAbove(level * 5 / 4, out, 0, second), 0u);
    EXPECT_GT(framesAbove(level * 7 / 4, out, second), frames(0.25));
}

TEST_F(DiskOutput, StreamedMusicLoopsUntilStopped) {
    const int32_t music = load(0.2, 1);
    const size_t start = waitFor(0.05);
    dsPlayLooping(music);
    dsPlayLooping(music);  // still one loop, not two on top of each other
    waitFor(1.0);
    dsStop(music);
    const size_t stopped = written() - start;
    waitFor(0.5);
    const std::vector<int> out = loudestFrom(start);
    EXPECT_GT(framesAbove(level / 2, out, 0, stopped), frames(3 * 0.2));
    EXPECT_EQ(framesAbove(level * 5 / 4, out, 0, stopped), 0u);
    // What was mixed before the stop may still be on its way to the file.
    EXPECT_EQ(framesAbove(level / 2, out, stopped + frames(0.15)), 0u);
}

// SDL names the thread that feeds an open playback device "SDLAudioP…", from the thread itself
// once it runs, so callers wait for output before asking.
bool audioThreadRuns() {
    for (const auto& task : fs::directory_iterator("/proc/self/task")) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        if (name.starts_with("SDLAudio")) return true;
    }
    return false;
}

// The library closes the device after two seconds of silence.
bool audioThreadStops() { return eventually([] { return !audioThreadRuns(); }, 10s); }

TEST_F(DiskOutput, ClosesTheDeviceOnceSilentAndOpensItAgainToPlay) {
    const int32_t sound = load(0.1);
    const int32_t music = load(0.1, 1);
    const int32_t spare = load(0.1, 1);
    dsPlay(sound);
    waitFor(0.05);
    ASSERT_TRUE(audioThreadRuns());
    ASSERT_TRUE(audioThreadStops());
    // Stopping and freeing find no voices to halt while the device is closed.
    dsStop(sound);
    dsFree(spare);
    EXPECT_FALSE(audioThreadRuns());
    // The device opens anew (SDL's disk driver starts its file over) and the music loaded
    // before still streams.
    dsPlayLooping(music);
    waitFor(0.4);
    EXPECT_GT(framesAbove(level / 2, loudestFrom(0), 0, frames(0.5)), frames(0.25));
}

TEST_F(DiskOutput, EndsWhetherTheDeviceIsOpenOrClosed) {
    dsPlayLooping(load(0.1, 1));
    dsTerminate(std::exchange(device, 0));
    start();
    dsPlay(load(0.05));
    waitFor(0.05);
    ASSERT_TRUE(audioThreadStops());
    dsTerminate(std::exchange(device, 0));
    start();
}

}  // namespace
}  // namespace quolvet
