// Whole games through the main window as tables of promises: each line is what the player does,
// then everything the player must hear and see after it, compared whole.
// After every step the whole window is also checked against the state (window_harness.h).

#include <cstdlib>
#include <fstream>
#include <iostream>

#include <unistd.h>

#include <gtest/gtest.h>

#include "window_harness.h"

namespace quolvet::testing {
namespace {

struct Scenario {
    const char* name;
    unsigned deal;
    std::vector<std::string> script;
    bool musicAtStart = true;
};

const Scenario scenarios[] = {
    {"before any game", 1, {
        "open | loop BGM.wav | no game, move 0 of 0, no icon",
        "press 5,5 | play 禁止.wav | box [開始] 「対局」で始めて下さい | no game, move 0 of 0, no icon",
        "press margin | play 禁止.wav | box [開始] 「対局」で始めて下さい | no game, move 0 of 0, no icon",
        "key A | no game, move 0 of 0, no icon",
        "menus | 対局(対局(人間)(スタート) 対局(COM)(先手 後手) 終わり) 局面(最初) 戻 進 ｵﾌﾟｼｮﾝ(BGM) その他 | no game, move 0 of 0, no icon",
        "menu 戻 | play 禁止.wav | box [戻る] できません | no game, move 0 of 0, no icon",
        "menu 進 | play 禁止.wav | box [進む] できません | no game, move 0 of 0, no icon",
        "menu 局面/最初 | play 駒打音.wav | no game, move 0 of 0, no icon | ~ board",
    }},
    {"two people", 2, {
        "open | loop BGM.wav | no game, move 0 of 0, no icon",
        "menu 対局/対局(人間)/スタート | box [ ] 先手の番です | 先手 to move, move 0 of 0, man lower | ~ board",
        "press best | play 駒打音.wav | wait 0.1 at 3,8 (+8) | wait 0.1 8 KOMA_CYU | wait 0.1 8 KOMA_SYO | wait 0.1 8 PA1 | wait 0.1 8 PA2 | 後手 to move, move 1 of 1, man upper | ~ board, counter, lower hand",
        "press best | play 駒打音.wav | wait 0.1 at 6,3 (+8) | wait 0.1 8 KOMA_CYU | wait 0.1 8 KOMA_SYO | wait 0.1 8 PA1 | wait 0.1 8 PA2 | 先手 to move, move 2 of 2, man lower | ~ board, counter, upper hand",
        "press idle | play 駒打音.wav | wait 0.1 at 1,1 | play 禁止.wav | box [注意] 拾える駒がありません | 先手 to move, move 2 of 2, man lower",
        "press empty | play 禁止.wav | box [注意] 駒をクリックして下さい | 先手 to move, move 2 of 2, man lower",
        "press 10,5 | 先手 to move, move 2 of 2, man lower",
        "right-press best | play 駒打音.wav | wait 0.1 at 7,6 (+8) | wait 0.1 8 KOMA_CYU | wait 0.1 8 KOMA_SYO | wait 0.1 8 PA1 | wait 0.1 8 PA2 | 後手 to move, move 3 of 3, man upper | ~ board, counter, lower hand",
        "menu 戻 | play 駒打音.wav | 先手 to move, move 2 of 3, man lower | ~ board, counter, lower hand",
        "menu 戻 | play 駒打音.wav | 後手 to move, move 1 of 3, man upper | ~ board, counter, upper hand",
        "press best | play 駒打音.wav | wait 0.1 at 6,3 (+8) | wait 0.1 8 KOMA_CYU | wait 0.1 8 KOMA_SYO | wait 0.1 8 PA1 | wait 0.1 8 PA2 | 先手 to move, move 2 of 2, man lower | ~ board, counter, upper hand",
        "menu 進 | play 禁止.wav | box [進む] できません | 先手 to move, move 2 of 2, man lower",
        "to end | play 駒打音.wav | wait 0.1 at 8,4 (+6) | wait 0.1 1 KOMA_CYU | wait 0.1 1 KOMA_SYO | wait 0.1 1 PA1 | wait 0.1 1 PA2 | box [終了] 消せる駒が無くなりました | box [終了] 先手の勝ちです | over, 先手 won, 先手 to move, move 19 of 19, no icon | ~ board, counter, lower hand",
        "press 5,5 | play 禁止.wav | box [終了] 先手の勝ちです | box [開始] 「対局」で始めて下さい | over, 先手 won, 先手 to move, move 19 of 19, no icon",
        "menu 戻 | play 駒打音.wav | 先手 to move, move 18 of 19, man lower | ~ board, counter, lower hand",
        "menu 進 | play 駒打音.wav | over, 先手 won, 後手 to move, move 19 of 19, man upper | ~ board, counter, lower hand",
    }},
    {"two people, the second wins", 4, {
        "open | loop BGM.wav | no game, move 0 of 0, no icon",
        "menu 対局/対局(人間)/スタート | box [ ] 先手の番です | 先手 to move, move 0 of 0, man lower | ~ board",
        "to end | play 駒打音.wav | wait 0.1 at 9,7 (+6) | wait 0.1 1 KOMA_CYU | wait 0.1 1 KOMA_SYO | wait 0.1 1 PA1 | wait 0.1 1 PA2 | box [終了] 消せる駒が無くなりました | box [終了] 後手の勝ちです | over, 後手 won, 後手 to move, move 22 of 22, no icon | ~ board, counter, upper hand",
    }},
    {"person first against the computer", 3, {
        "open | loop BGM.wav | no game, move 0 of 0, no icon",
        "menu 対局/対局(COM)/先手 | box [ ] あなたの番です | 先手 to move, move 0 of 0, no icon | ~ board",
        "press best | play 駒打音.wav | wait 0.1 at 3,3 (+8) | wait 0.1 8 KOMA_CYU | wait 0.1 8 KOMA_SYO | wait 0.1 8 PA1 | wait 0.1 8 PA2 | play 駒打音.wav | wait 0.7 at 3,6 (+8) | wait 0.1 8 KOMA_CYU | wait 0.1 8 KOMA_SYO | wait 0.1 8 PA1 | wait 0.1 8 PA2 | 先手 to move, move 2 of 2, man lower | ~ board, counter, lower hand, upper hand",
        "to end | play 駒打音.wav | wait 0.1 at 9,1 (+15) | wait 0.1 1 KOMA_CYU | wait 0.1 1 KOMA_SYO | wait 0.1 1 PA1 | wait 0.1 1 PA2 | box [終了] 消せる駒が無くなりました | box [終了] あなたの勝ちです | over, あなた won, 先手 to move, move 21 of 21, no icon | ~ board, counter, lower hand",
        "press margin | play 禁止.wav | box [終了] あなたの勝ちです | box [開始] 「対局」で始めて下さい | over, あなた won, 先手 to move, move 21 of 21, no icon",
        "menu 局面/最初 | play 駒打音.wav | no game, move 0 of 0, no icon | ~ board, counter, lower hand, upper hand",
    }},
    {"computer first", 5, {
        "open | loop BGM.wav | no game, move 0 of 0, no icon",
        "menu 対局/対局(COM)/後手 | play 駒打音.wav | wait 0.7 at 3,8 (+8) | wait 0.1 8 KOMA_CYU | wait 0.1 8 KOMA_SYO | wait 0.1 8 PA1 | wait 0.1 8 PA2 | 後手 to move, move 1 of 1, man lower | ~ board, counter, upper hand",
        "menu 戻 | play 駒打音.wav | 先手 to move, move 0 of 1, com upper | ~ board, counter, upper hand",
        "press margin | play 駒打音.wav | wait 0.7 at 3,8 (+8) | wait 0.1 8 KOMA_CYU | wait 0.1 8 KOMA_SYO | wait 0.1 8 PA1 | wait 0.1 8 PA2 | 後手 to move, move 1 of 1, man lower | ~ board, counter, upper hand",
        "to end | play 駒打音.wav | wait 0.1 at 8,4 (+1) | wait 0.1 1 KOMA_CYU | wait 0.1 1 KOMA_SYO | wait 0.1 1 PA1 | wait 0.1 1 PA2 | play 駒打音.wav | wait 0.7 at 8,4 (+3) | wait 0.1 1 KOMA_CYU | wait 0.1 1 KOMA_SYO | wait 0.1 1 PA1 | wait 0.1 1 PA2 | box [終了] 消せる駒が無くなりました | box [終了] ＣＯＭの勝ちです | over, ＣＯＭ won, 後手 to move, move 17 of 17, man lower | ~ board, counter, lower hand, upper hand",
    }},
    {"keys and a screen reader's action against the computer", 3, {
        "open | loop BGM.wav | no game, move 0 of 0, no icon",
        "key Return | no game, move 0 of 0, no icon, cursor at 5,5",
        "key Return | play 禁止.wav | box [開始] 「対局」で始めて下さい | no game, move 0 of 0, no icon, cursor at 5,5",
        "menu 対局/対局(COM)/先手 | box [ ] あなたの番です | 先手 to move, move 0 of 0, no icon, cursor at 5,5 | ~ board",
        "act 3,3 | play 駒打音.wav | wait 0.1 at 3,3 (+8) | wait 0.1 8 KOMA_CYU | wait 0.1 8 KOMA_SYO | wait 0.1 8 PA1 | wait 0.1 8 PA2 | play 駒打音.wav | wait 0.7 at 3,6 (+8) | wait 0.1 8 KOMA_CYU | wait 0.1 8 KOMA_SYO | wait 0.1 8 PA1 | wait 0.1 8 PA2 | 先手 to move, move 2 of 2, man lower, cursor at 3,3 | ~ board, counter, lower hand, upper hand",
        "key End | 先手 to move, move 2 of 2, man lower, cursor at 9,3",
        "key Right | 先手 to move, move 2 of 2, man lower, cursor at 9,3",
        "key A | 先手 to move, move 2 of 2, man lower, cursor at 9,3",
        "press margin | 先手 to move, move 2 of 2, man lower",
        "key Down | 先手 to move, move 2 of 2, man lower, cursor at 9,3",
        "menu 戻 | play 駒打音.wav | 後手 to move, move 1 of 2, com upper, cursor at 9,3 | ~ board, counter, upper hand",
        "menu 局面/最初 | play 駒打音.wav | no game, move 0 of 0, no icon, cursor at 9,3 | ~ board, counter, lower hand",
    }},
    {"music, version and the ways out", 1, {
        "open | loop BGM.wav | no game, move 0 of 0, no icon",
        "key F1 | stop BGM.wav | music off | no game, move 0 of 0, no icon",
        "menu ｵﾌﾟｼｮﾝ/BGM | loop BGM.wav | music on | no game, move 0 of 0, no icon",
        "key F1 | stop BGM.wav | music off | no game, move 0 of 0, no icon",
        "menu 対局/対局(人間)/スタート | box [ ] 先手の番です | 先手 to move, move 0 of 0, man lower | ~ board",
        "menu その他 | play その他.wav | box [Quolvet] Quolvet  Version 0.93    [12/1999]\n\n                    QX-SOFT\nHome page\nhttps://quolvet.example/\n\ne-mail\ninfo@quolvet.example | 先手 to move, move 0 of 0, man lower",
        "key Esc | free その他.wav | free 禁止.wav | free 駒打音.wav | free BGM.wav | terminate | 先手 to move, move 0 of 0, man lower",
        "close | 先手 to move, move 0 of 0, man lower",
        "menu 対局/終わり | 先手 to move, move 0 of 0, man lower",
    }},
    {"started without music", 1, {
        "open | no game, move 0 of 0, no icon",
        "key F1 | loop BGM.wav | music on | no game, move 0 of 0, no icon",
    }, false},
};

// Each step as one line: what the player did, then everything that followed, " | " between.
// Later steps follow from earlier ones, so a scenario stops at its first broken promise.
TEST(Transcript, EveryScenarioPlaysAsPromised) {
    for (const Scenario& scenario : scenarios) {
        WindowHarness window(scenario.deal, {makeSoundFolder()}, scenario.musicAtStart);
        bool kept = true;
        for (size_t i = 0; i < scenario.script.size(); ++i) {
            std::string told = scenario.script[i].substr(0, scenario.script[i].find(" | "));
            for (const std::string& heard : window.step(told)) told += " | " + heard;
            if (std::getenv("QUOLVET_PRINT_TRANSCRIPTS")) std::cout << "        \"" << told << "\",\n";
            if (!kept) continue;
            EXPECT_EQ(told, scenario.script[i]) << scenario.name << ", step " << i + 1;
            kept = told == scenario.script[i];
        }
    }
}

// A sound is taken from the current folder before the data folders, and from the first data
// folder that has it; one found nowhere is silent.
TEST(SoundFiles, TheCurrentFolderComesFirstThenEachDataFolderInTurn) {
    const auto folder = std::filesystem::temp_directory_path() / ("quolvet-lookup-" + std::to_string(::getpid()));
    for (const auto& [where, name] : {std::pair{"here", "BGM.wav"}, {"first", "BGM.wav"}, {"first", "禁止.wav"},
                                      {"second", "禁止.wav"}, {"second", "その他.wav"}}) {
        std::filesystem::create_directories(folder / where);
        std::ofstream(folder / where / name) << where << " " << name;
    }
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(folder / "here");
    WindowHarness window(1, {folder / "first", folder / "second"});
    std::filesystem::current_path(cwd);
    EXPECT_EQ(window.step("open")[0], "loop here BGM.wav");
    EXPECT_EQ(window.step("press margin")[0], "play first 禁止.wav");
    EXPECT_EQ(window.step("menu その他")[0], "play second その他.wav");
    EXPECT_EQ(window.step("menu 局面/最初")[0], "play 0");
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quolvet::testing
