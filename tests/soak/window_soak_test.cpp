#include <cstdlib>
#include <random>

#include <gtest/gtest.h>

#include "boards.h"
#include "computer.h"
#include "window_harness.h"

using namespace quolvet;
using quolvet::testing::WindowHarness;

namespace {

// The first of the promises a state breaks, or nothing: the position is its record entry, no
// piece appears or vanishes, every sign is the one the position gives, and the flags agree with
// what is left on the board.
std::string brokenState(const Game& game, const MoveRecord& record) {
    const int n = game.moveNumber;
    if (n < 0 || n > record.lastMoveNumber || record.lastMoveNumber > 80) return "move number out of its range";
    if (std::tie(game.board, game.ownHand, game.enemyHand) !=
        std::tie(record.historyBoard[n], record.historyOwnHand[n], record.historyEnemyHand[n]))
        return "the position differs from its record entry";
    Game dealt;
    dealt.board = record.historyBoard[0];
    if (boards::census(game) != boards::census(dealt)) return "pieces appeared or vanished";
    Game resigned = game;
    resigned.設定_将棋盤_駒();
    if (resigned.board != game.board) return "a sign differs from what the position gives";
    if (game.sideToMove == SIDE_NONE)
        return game.gameOver == OFF && record.lastMoveNumber == 0 ? "" : "no game, yet moves or an end";
    if ((game.gameOver == ON) != (game.調査_消駒有無() == OFF)) return "the game is not over exactly when nothing is left";
    if (game.gameOver == OFF && game.sideToMove != 手番_取得(n + 1)) return "the wrong side to move";
    return {};
}

// One thing a restless player may do, at random.
std::string randomStep(std::mt19937& rng, const Game& game) {
    const auto any = [&rng](int from, int to) { return std::uniform_int_distribution<int>(from, to)(rng); };
    const int roll = any(0, 99);
    if (roll < 45 && chooseComputerSquare(game)) return "press best";
    if (roll < 62) return "press " + std::to_string(any(1, 9)) + "," + std::to_string(any(1, 9));
    if (roll < 68) return "right-press " + std::to_string(any(-2, 16)) + "," + std::to_string(any(-2, 10));
    if (roll < 70) return "press margin";
    static const char* const others[] = {"menu 戻", "menu 戻", "menu 戻", "menu 進", "menu 進", "menu 進",
                                         "menu 局面/最初", "menu 対局/対局(人間)/スタート", "menu 対局/対局(COM)/先手",
                                         "menu 対局/対局(COM)/後手", "key F1", "menu ｵﾌﾟｼｮﾝ/BGM", "key A"};
    return others[any(0, std::size(others) - 1)];
}

}  // namespace

// Whole games with random events between the moves; after every event the state must be a
// lawful one and the whole window must show it.
TEST(Soak, RandomEventsKeepStateAndWindowLawful) {
    const char* games = std::getenv("QUOLVET_SOAK_GAMES");
    const int gameCount = games ? std::atoi(games) : 12;
    WindowHarness window(424242);
    std::mt19937 rng(1206);
    int gamesEnded = 0;
    for (int events = 1; gamesEnded < gameCount; ++events) {
        ASSERT_LT(events, 2000 * gameCount) << "only " << gamesEnded << " games ended";
        const bool wasOver = window.game().gameOver == ON;
        const std::string step = randomStep(rng, window.game());
        const auto told = window.step(step);
        const std::string context = "event " + std::to_string(events) + " (" + step + ")";
        ASSERT_FALSE(told.back().starts_with("!!")) << context << ": " << told.back();
        ASSERT_EQ(brokenState(window.game(), window.form().record()), "") << context;
        if (!wasOver && window.game().gameOver == ON && step != "menu 進") ++gamesEnded;
    }
    EXPECT_EQ(window.quits, 0);
}
