#include "module1.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>

#include "quolvet_sound.h"
#include "wave_files.h"

namespace quolvet {
namespace {

using testing::fmtBody;
using testing::putChunk;
using testing::riff;
using testing::steadyWave;
using testing::WaveFormat;
namespace fs = std::filesystem;

std::vector<uint8_t> goodWave() { return steadyWave(0.05, 3000); }

void writeFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class SoundModule : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        folder = fs::temp_directory_path() / ("quolvet-sound-" + std::to_string(getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override {
        module.TermSound();
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }

    SystemSoundLibrary library;
    std::vector<std::string> warnings;
    fs::path folder;
    Module1 module{library, {fs::temp_directory_path() / ("quolvet-sound-" + std::to_string(getpid()))},
                   [this](const std::string& text) { warnings.push_back(text); }};
};

struct BadFile {
    const char* name;
    std::function<void(const fs::path&)> make;
    std::string reason;
};

std::vector<uint8_t> withByte(std::vector<uint8_t> image, size_t at, uint8_t value) {
    image[at] = value;
    return image;
}

std::vector<BadFile> badFiles() {
    const std::vector<uint8_t> good = goodWave();
    auto bytes = [](std::vector<uint8_t> image) { return [image](const fs::path& p) { writeFile(p, image); }; };
    std::vector<uint8_t> noFmt, noData, oddBits;
    putChunk(noFmt, "data", {1, 2, 3, 4});
    putChunk(noData, "fmt ", fmtBody({}));
    putChunk(oddBits, "fmt ", fmtBody({.bits = 12}));
    putChunk(oddBits, "data", std::vector<uint8_t>(64, 7));
    std::vector<uint8_t> noise(300);
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = uint8_t(i * 2654435761u >> 13);
    constexpr size_t channelsAt = 22, rateAt = 24, tagAt = 20, riffSizeAt = 4;
    return {
        {"empty.wav", bytes({}), "ファイルが空です。"},
        {"header_only.wav", bytes({good.begin(), good.begin() + 44}), "ファイルが途中で切れています"},
        {"truncated.wav", bytes({good.begin(), good.end() - 100}), "ファイルが途中で切れています"},
        {"riff_too_long.wav", bytes(withByte(good, riffSizeAt + 2, 0x40)), "ファイルが途中で切れています"},
        {"no_fmt.wav", bytes(riff(noFmt)), "「fmt 」チャンクがありません。"},
        {"no_data.wav", bytes(riff(noData)), "「data」チャンクがありません。"},
        {"zero_channels.wav", bytes(withByte(good, channelsAt, 0)), "チャンネル数が0です。"},
        {"zero_rate.wav", bytes(withByte(withByte(good, rateAt, 0), rateAt + 1, 0)), "サンプリング周波数が0です。"},
        {"unknown_format.wav", bytes(withByte(good, tagAt, 0x34)), "0x0034"},
        {"twelve_bits.wav", bytes(riff(oddBits)), "音声を読み込めません"},
        {"random.wav", bytes(noise), "WAVEファイルではありません。"},
        {"directory.wav", [](const fs::path& p) { fs::create_directory(p); }, std::strerror(EISDIR)},
    };
}

TEST_F(SoundModule, RefusesEveryBadFileWithItsReason) {
    module.InitSound(0);
    ASSERT_NE(module.soundDevice, 0);
    for (const BadFile& bad : badFiles()) {
        SCOPED_TRACE(bad.name);
        warnings.clear();
        bad.make(folder / bad.name);
        EXPECT_EQ(module.LoadSound(bad.name, 3), 0);
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0].rfind(std::string(bad.name) + ": ", 0), 0u) << warnings[0];
        EXPECT_NE(warnings[0].find(bad.reason), std::string::npos) << warnings[0];
    }
}

TEST_F(SoundModule, ReportsAFileItMayNotRead) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    module.InitSound(0);
    writeFile(folder / "locked.wav", goodWave());
    fs::permissions(folder / "locked.wav", fs::perms::none);
    EXPECT_EQ(module.LoadSound("locked.wav", 3), 0);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], std::string("locked.wav: ") + std::strerror(EACCES));
}

TEST_F(SoundModule, LoadsGoodFilesAndSilentlySkipsMissingOnes) {
    module.InitSound(0);
    writeFile(folder / "good.wav", goodWave());
    const int32_t sound = module.LoadSound("good.wav", 3);
    EXPECT_NE(sound, 0);
    EXPECT_STREQ(library.dsLastError(), "");
    EXPECT_EQ(module.LoadSound("nowhere.wav", 3), 0);
    EXPECT_TRUE(warnings.empty());
    library.dsPlay(sound);
    library.dsFree(sound);
}

TEST_F(SoundModule, LooksInTheCurrentDirectoryBeforeTheDataFolders) {
    module.InitSound(0);
    writeFile(folder / "both.wav", goodWave());
    const fs::path here = fs::current_path();
    const fs::path elsewhere = folder / "here";
    fs::create_directory(elsewhere);
    writeFile(elsewhere / "both.wav", {});
    fs::current_path(elsewhere);
    const int32_t fromHere = module.LoadSound("both.wav", 3);
    fs::current_path(here);
    EXPECT_EQ(fromHere, 0);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "both.wav: ファイルが空です。");
    EXPECT_NE(module.LoadSound("both.wav", 3), 0);
}

TEST_F(SoundModule, WithoutADeviceWarnsOnceAndStaysSilent) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    module.InitSound(0);
    EXPECT_EQ(module.soundDevice, 0);
    writeFile(folder / "good.wav", goodWave());
    writeFile(folder / "empty.wav", {});
    EXPECT_EQ(module.LoadSound("good.wav", 3), 0);
    EXPECT_EQ(module.LoadSound("empty.wav", 3), 0);
    library.dsPlay(0);
    library.dsPlayLooping(0);
    library.dsStop(0);
    library.dsFree(0);
    module.TermSound();
    EXPECT_EQ(warnings, std::vector<std::string>{"Direct Soundインターフェースが作成できません。"});
}

TEST(SoundLibrary, EveryCallOnAnAbsentHandleDoesNothing) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::vector<uint8_t> wave = goodWave();
    auto poke = [](int32_t sound) {
        dsPlay(sound);
        dsPlayLooping(sound);
        dsStop(sound);
        dsFree(sound);
    };
    poke(0);
    poke(12345);
    dsTerminate(0);
    EXPECT_EQ(dsCreateDSB(0, wave.data(), uint32_t(wave.size()), 3), 0);

    const int32_t device = dsInitialize(0);
    ASSERT_NE(device, 0);
    EXPECT_EQ(dsCreateDSB(device + 1, wave.data(), uint32_t(wave.size()), 3), 0);
    EXPECT_EQ(dsCreateDSB(device, nullptr, 0, 3), 0);
    const int32_t sound = dsCreateDSB(device, wave.data(), uint32_t(wave.size()), 3);
    ASSERT_NE(sound, 0);
    poke(0);
    poke(sound + 1);
    dsFree(sound);
    poke(sound);
    dsTerminate(device + 1);

    const int32_t kept = dsCreateDSB(device, wave.data(), uint32_t(wave.size()), 3);
    dsPlayLooping(kept);
    dsTerminate(device);
    poke(kept);
    dsTerminate(device);
}

}  // namespace
}  // namespace quolvet
