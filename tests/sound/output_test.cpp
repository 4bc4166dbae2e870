// The library's real output, written by SDL's disk audio driver to a file per test.

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "quolvet_sound.h"
#include "wave_files.h"

namespace quolvet {
namespace {

namespace fs = std::filesystem;
using testing::steadyWave;

constexpr int16_t level = 6000;
// Mixing buffers and file buffering still in flight when a call returns.
constexpr double inFlightSeconds = 0.15;

class DiskOutput : public ::testing::Test {
protected:
    void SetUp() override {
        output = fs::temp_directory_path() /
                 ("quolvet-disk-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".raw");
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
        device = dsInitialize(0);
        ASSERT_NE(device, 0);
        int channelCount = 0;
        Mix_QuerySpec(&rate, nullptr, &channelCount);
        channels = size_t(channelCount);
    }
    void TearDown() override {
        dsTerminate(device);
        fs::remove(output);
    }

    int32_t load(double seconds) {
        const std::vector<uint8_t> image = steadyWave(seconds, level);
        return dsCreateDSB(device, image.data(), uint32_t(image.size()), 3);
    }

    // Frames written so far.
    size_t written() const {
        std::error_code ignored;
        return size_t(fs::file_size(output, ignored)) / (2 * channels);
    }

    // Lets the driver write `seconds` more of output; bounded so a stuck driver fails the test
    // instead of hanging it.
    size_t waitFor(double seconds) {
        const size_t target = written() + size_t(seconds * rate);
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (written() < target && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return written();
    }

    // Closes the device so the file is complete, and answers the loudest sample of each frame
    // from `from` on.
    std::vector<int> framesFrom(size_t from) {
        dsTerminate(device);
        device = 0;
        std::ifstream in(output, std::ios::binary);
        std::vector<int16_t> samples(written() * channels);
        in.read(reinterpret_cast<char*>(samples.data()), std::streamsize(samples.size() * 2));
        std::vector<int> frames;
        for (size_t f = from; f < samples.size() / channels; ++f) {
            int loudest = 0;
            for (size_t c = 0; c < channels; ++c) loudest = std::max(loudest, std::abs(int(samples[f * channels + c])));
            frames.push_back(loudest);
        }
        return frames;
    }

    size_t frames(double seconds) const { return size_t(seconds * rate); }

    fs::path output;
    int32_t device = 0;
    int rate = 0;
    size_t channels = 0;
};

size_t soundingFrames(const std::vector<int>& frames, size_t from, size_t to) {
    return size_t(std::count_if(frames.begin() + long(std::min(from, frames.size())),
                                frames.begin() + long(std::min(to, frames.size())), [](int s) { return s > level / 2; }));
}

TEST_F(DiskOutput, EffectsSoundAndOverlapOneAnother) {
    const int32_t sound = load(0.3);
    ASSERT_NE(sound, 0);
    const size_t start = waitFor(0.05);
    dsPlay(sound);
    const size_t second = waitFor(0.6);
    dsPlay(sound);
    dsPlay(sound);
    waitFor(0.6);
    const std::vector<int> out = framesFrom(start);

    const int alone = *std::max_element(out.begin(), out.begin() + long(second - start));
    const int together = *std::max_element(out.begin() + long(second - start), out.end());
    EXPECT_GT(alone, level * 3 / 4);
    EXPECT_LT(alone, level * 5 / 4);
    EXPECT_GT(together, level * 7 / 4);
}

TEST_F(DiskOutput, MusicLoopsUntilStoppedAndStartsAgain) {
    const int32_t music = load(0.2);
    ASSERT_NE(music, 0);
    const size_t start = waitFor(0.05);
    dsPlayLooping(music);
    dsPlayLooping(music);  // still one loop, not two on top of each other
    waitFor(1.0);
    dsStop(music);
    const size_t stopped = written();
    waitFor(0.5);
    const size_t restarted = written();
    dsPlayLooping(music);
    waitFor(0.5);
    const std::vector<int> out = framesFrom(start);

    const size_t stoppedAt = stopped - start, restartedAt = restarted - start;
    EXPECT_GT(soundingFrames(out, 0, stoppedAt), frames(3 * 0.2));
    EXPECT_LT(*std::max_element(out.begin(), out.begin() + long(stoppedAt)), level * 5 / 4);
    EXPECT_EQ(soundingFrames(out, stoppedAt + frames(inFlightSeconds), restartedAt), 0u);
    EXPECT_GT(soundingFrames(out, restartedAt, out.size()), frames(0.2));
}

// The device whose status SDL reports as not stopped: the one the library opened.
SDL_AudioStatus deviceStatus() {
    for (SDL_AudioDeviceID id = 1; id <= 64; ++id)
        if (SDL_GetAudioDeviceStatus(id) != SDL_AUDIO_STOPPED) return SDL_GetAudioDeviceStatus(id);
    return SDL_AUDIO_STOPPED;
}

TEST_F(DiskOutput, RestsTheDeviceWhileNothingSounds) {
    EXPECT_EQ(deviceStatus(), SDL_AUDIO_PAUSED);
    const int32_t sound = load(0.1);
    dsPlay(sound);
    EXPECT_EQ(deviceStatus(), SDL_AUDIO_PLAYING);
    waitFor(0.4);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (deviceStatus() != SDL_AUDIO_PAUSED && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(deviceStatus(), SDL_AUDIO_PAUSED);
}

}  // namespace
}  // namespace quolvet
