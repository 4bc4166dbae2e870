// The sound module and library: files refused with their reasons, calls that must do nothing, and
// the real output, written by SDL's disk driver to a file in real time.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "module1.h"
#include "quolvet_sound.h"

namespace quolvet {
namespace {

namespace fs = std::filesystem;
constexpr int16_t level = 6000;
constexpr int outputRate = 44100;

// A mono 16-bit WAVE image of `seconds` at one steady level, easy to find in the mixed output and
// steady through rate conversion, with `extra` bytes of an incomplete last frame. Its fields sit
// at fixed bytes (format tag 20, channels 22, rate 24, bits 34), so the bad files spoil them there.
std::vector<uint8_t> steadyWave(int rate, double seconds, uint32_t extra = 0) {
    const uint32_t dataBytes = uint32_t(seconds * rate) * 2 + extra;
    std::vector<uint8_t> out;
    const auto put = [&out](uint32_t value, int bytes) { for (int i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i))); };
    const auto tag = [&put](const char* t) { put(uint32_t(t[0] | t[1] << 8 | t[2] << 16 | t[3] << 24), 4); };
    tag("RIFF"), put(36 + dataBytes + (dataBytes & 1), 4), tag("WAVE"), tag("fmt "), put(16, 4), put(1, 2), put(1, 2);
    put(uint32_t(rate), 4), put(uint32_t(rate) * 2, 4), put(2, 2), put(16, 2), tag("data"), put(dataBytes, 4);
    for (uint32_t i = 0; i < dataBytes; i += 2) put(uint16_t(level), 2);  // the last two bytes pad an odd length
    return out;
}

// A steady wave with `bytes` written over it at `at` and its last `cut` bytes left off.
std::vector<uint8_t> spoiled(size_t at, std::initializer_list<uint8_t> bytes, size_t cut = 0) {
    std::vector<uint8_t> image = steadyWave(22050, 0.05);
    std::copy(bytes.begin(), bytes.end(), image.begin() + long(at));
    image.resize(image.size() - cut);
    return image;
}

// SDL's "disk" driver starts its file over whenever the device opens; waits count written frames.
class Sound : public ::testing::Test {
protected:
    void open(const char* driver) {
        fs::create_directories(folder);
        setenv("SDL_AUDIODRIVER", driver, 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        module.InitSound(0);
    }
    void TearDown() override {
        module.TermSound();
        fs::remove_all(folder);
    }

    int32_t load(int rate, double seconds, uint32_t extra = 0) {
        const std::vector<uint8_t> image = steadyWave(rate, seconds, extra);
        return dsCreateDSB(module.soundDevice, image.data(), uint32_t(image.size()), 3);
    }
    static size_t frames(double seconds) { return size_t(seconds * outputRate); }
    size_t written() const { return fs::exists(output) ? size_t(fs::file_size(output)) / 2 : 0; }
    // Its thread lives as long as the device is open.
    static bool deviceOpen() {
        std::string name;
        for (const auto& task : fs::directory_iterator("/proc/self/task"))
            if (std::getline(std::ifstream(task.path() / "comm"), name) && name.starts_with("SDLAudio")) return true;
        return false;
    }
    // Bounded, so a stuck driver fails the test instead of hanging it.
    size_t waitFor(double seconds) {
        const size_t target = written() + frames(seconds);
        for (int tries = 0; tries < 3000 && written() < target; ++tries) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return written();
    }
    // Frames in [from, to) louder than `threshold`.
    size_t framesAbove(int threshold, size_t from, size_t to = SIZE_MAX) const {
        std::vector<int16_t> out(written());
        std::ifstream(output, std::ios::binary).read(reinterpret_cast<char*>(out.data()), std::streamsize(out.size() * 2));
        const auto at = [&out](size_t frame) { return out.begin() + long(std::min(frame, out.size())); };
        return size_t(std::count_if(at(from), at(std::max(from, to)), [threshold](int16_t v) { return std::abs(v) > threshold; }));
    }

    fs::path folder = fs::temp_directory_path() / ("quolvet-sound-" + std::to_string(getpid()));
    fs::path output = folder / "output.raw";
    std::vector<std::string> warnings;
    SystemSoundLibrary library;
    Module1 module{library, {folder}, [this](const std::string& text) { warnings.push_back(text); }};
};

// With no device the sounds are made all the same, so each bad file is named in its warning with
// the library's reason, or the system's word for one that cannot be read; a missing one is
// skipped quietly.
TEST_F(Sound, WarnsOfTheMissingDeviceAndOfEveryBadFileByNameWithItsReason) {
    open("nonexistent");
    EXPECT_EQ(warnings, std::vector<std::string>{"Direct Soundインターフェースが作成できません。"});
    const std::vector<std::pair<std::vector<uint8_t>, std::string>> images{
        {{}, "ファイルが空です。"},
        {spoiled(0, {}, 100), "ファイルが途中で切れています（見出しでは"},
        {spoiled(42, {0x40}), "「data」チャンクが最後まで揃っていません"},
        {spoiled(12, {'j', 'u', 'n', 'k'}), "「fmt 」チャンクがありません。"},
        {spoiled(22, {0}), "チャンネル数が0です。"},
        {spoiled(24, {0x3F, 0x1F}), "再生できないサンプリング周波数です（7999 Hz）。"},
        {spoiled(24, {0x01, 0xEE, 0x02}), "（192001 Hz）"},
        {spoiled(20, {0x34}), "0x0034"},
        {spoiled(34, {12}), "音声を読み込めません"},  // passes the library's checks; SDL's decoder refuses it
        {std::vector<uint8_t>(300, 'x'), "WAVEファイルではありません。"},
    };
    for (const auto& [image, reason] : images) {
        std::ofstream(folder / "bad.wav", std::ios::binary).write(reinterpret_cast<const char*>(image.data()), long(image.size()));
        EXPECT_EQ(module.LoadSound("bad.wav", 3), 0) << reason;
        ASSERT_FALSE(warnings.empty()) << reason;
        EXPECT_TRUE(warnings.back().starts_with("bad.wav: ") && warnings.back().find(reason) != std::string::npos) << warnings.back();
    }
    fs::create_directory(folder / "directory.wav");
    EXPECT_EQ(module.LoadSound("directory.wav", 3) + module.LoadSound("nowhere.wav", 3), 0);
    EXPECT_EQ(warnings.size(), images.size() + 2);
    EXPECT_EQ(warnings.back(), "directory.wav: " + std::string(std::strerror(EISDIR)));
}

// A freed sound falls silent and a terminated device's sounds do nothing; terminating another
// device leaves this one be. The effect is made at half the mixing rate, and the music, at the
// mixing rate as the game's own, ends in half a frame.
TEST_F(Sound, EffectsOverlapAndMusicLoopsOnWholeFramesUntilStoppedOrFreed) {
    open("disk");
    const int32_t device = module.soundDevice;
    dsTerminate(device + 1);
    const int32_t effect = load(22050, 0.3), music = load(outputRate, 0.2, 1);
    ASSERT_TRUE(effect && music);
    const size_t start = waitFor(0.05);
    dsPlay(effect);
    const size_t two = waitFor(0.6);
    dsPlay(effect);
    dsPlay(effect);
    const size_t looped = waitFor(0.6);
    dsPlayLooping(music);
    dsPlayLooping(music);  // still one loop, not two on top of each other
    waitFor(1.0);
    dsStop(music);
    const size_t stopped = written(), again = waitFor(0.5);
    dsPlayLooping(music);
    waitFor(0.5);
    dsFree(music);
    dsPlay(music);
    const size_t freed = written();
    waitFor(0.5);
    EXPECT_GT(framesAbove(level * 3 / 4, start, two), frames(0.25));
    EXPECT_EQ(framesAbove(level * 5 / 4, start, two), 0u);
    EXPECT_GT(framesAbove(level * 7 / 4, two, looped), frames(0.25));
    EXPECT_GT(framesAbove(level / 2, looped, stopped), frames(4 * 0.2));
    EXPECT_EQ(framesAbove(level * 5 / 4, looped, stopped), 0u);
    EXPECT_GT(framesAbove(level / 2, again, freed), frames(0.3));
    // What was mixed before the stop or the free may still be on its way to the file.
    EXPECT_EQ(framesAbove(level / 2, stopped + frames(0.15), again), 0u);
    EXPECT_EQ(framesAbove(level / 2, freed + frames(0.15)), 0u);
    module.TermSound();
    dsPlay(effect), dsPlayLooping(effect), dsStop(effect), dsFree(effect), dsTerminate(device);
}

// The highest rate a sound may have plays; once quiet the device closes, and the effect that opens
// it again, at the lowest rate, is heard whole in its new output.
TEST_F(Sound, TheEffectThatOpensTheQuietDeviceAgainIsHeardWholeAndEitherEndOfTheRatesPlays) {
    open("disk");
    const int32_t high = load(192000, 0.5), low = load(8000, 0.8);
    ASSERT_TRUE(high && low);
    dsPlay(high);
    for (int tries = 0; tries < 500 && deviceOpen(); ++tries) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_FALSE(deviceOpen());
    EXPECT_GT(framesAbove(level * 3 / 4, 0), frames(0.48));
    fs::remove(output);
    dsPlay(low);
    for (int tries = 0; tries < 300 && written() < frames(1); ++tries) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GT(framesAbove(level * 3 / 4, 0), frames(0.78));
}

}  // namespace
}  // namespace quolvet
