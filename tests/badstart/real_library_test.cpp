// The main window over the real sound library, in the bad starts whose warnings must read
// exactly right: no sound device, and a broken sound file among good ones.

#include <cstdlib>
#include <fstream>

#include <QApplication>

#include "form1_fixture.h"
#include "sound_library.h"

using namespace quolvet;

namespace {

class RealLibraryStart : public quolvet::testing::Form1Test {
protected:
    void start(const char* audioDriver) {
        setenv("SDL_AUDIODRIVER", audioDriver, 1);
        Dealer dealer;
        dealer.timeOfDay = [] { return 5.13f; };
        form = std::make_unique<Form1>(Form1Seams{
            .sound = library,
            .messages = boxes,
            .waiter = [](double) {},
            .quit = [] {},
            .soundFolders = {folder},
            .dealer = dealer});
        form->Form_Load();
    }

    void copyShippedSounds() {
        std::filesystem::create_directories(folder);
        for (const char* name : {"その他.wav", "禁止.wav", "駒打音.wav", "BGM.wav"})
            std::filesystem::copy_file(std::filesystem::path(QUOLVET_SOUND_SOURCE_DATA) / name, folder / name,
                                       std::filesystem::copy_options::overwrite_existing);
    }

    // The program's own way out releases the sounds and the device.
    void TearDown() override {
        if (form) form->処理_終了();
        form.reset();
        std::filesystem::remove_all(folder);
    }

    // A two-person game and one move by the first player: the game goes on.
    void expectItPlays() {
        form->START_Click();
        std::mt19937 rng(7);
        press(*randomMove(rng));
        EXPECT_EQ(game().moveNumber, 1);
    }

    std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   ("quolvet-badstart-" + std::to_string(::getpid()));
    SystemSoundLibrary library;
};

}  // namespace

TEST_F(RealLibraryStart, NoDeviceWarnsOnceInWordsAndPlaysSilently) {
    copyShippedSounds();
    start("nonexistent");
    EXPECT_EQ(journal.events,
              std::vector<std::string>{"warning [Quolvet.dll] Direct Soundインターフェースが作成できません。"});
    EXPECT_EQ(form->soundBgm, 0);
    expectItPlays();
}

TEST_F(RealLibraryStart, ABrokenFileWarnsByNameAndOnlyItIsSilent) {
    copyShippedSounds();
    std::ofstream(folder / "禁止.wav", std::ios::binary | std::ios::trunc) << "RIFF";
    start("dummy");
    ASSERT_EQ(journal.events.size(), 1u);
    EXPECT_EQ(journal.events[0].rfind("warning [Quolvet.dll] 禁止.wav: ", 0), 0u) << journal.events[0];
    EXPECT_EQ(form->soundForbidden, 0);
    EXPECT_NE(form->soundOther, 0);
    EXPECT_NE(form->soundBgm, 0);
    expectItPlays();
}
