#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>
#include <vector>

#include "boards.h"
#include "playing.h"

using namespace quolvet;

namespace {

constexpr unsigned gameCount = 3000;

// The seed's last digit is the time digit, so every digit is dealt; each seed has its own generator.
Dealer seededDealer(unsigned seed) {
    Dealer dealer;
    const float t = static_cast<float>(10 * (seed % 8000) + seed % 10);
    dealer.timeOfDay = [t] { return t; };
    dealer.uniform = [engine = std::mt19937(seed)]() mutable { return engine() / 4294967296.0; };
    return dealer;
}

std::vector<Square> candidates(const Game& game) {
    std::vector<Square> squares;
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            if (game.board[x][y] != EMPTY && game.調査_消駒有無_座標(x, y) == ON)
                squares.push_back({x, y});
        }
    }
    return squares;
}

std::set<int> kindsAllowedFor(int digit) {
    if (digit == 0) return {HU};
    if (digit == 5) return {HU, SYA};
    if (digit % 2 == 0) return {HU, KEI, KIN, OU, KAKU};
    return {KYOU, KEI, GIN, KIN, SYA, OU, KAKU};
}

int handTotal(const Hand& hand) {
    int total = 0;
    for (int k = 1; k <= pieceKinds; ++k) total += hand[k];
    return total;
}

const Hand& handOf(const Game& game, int side) {
    return side == game.ownSide ? game.ownHand : game.enemyHand;
}

void expectSignsUpToDate(const Game& game) {
    Game resigned = game;
    resigned.設定_将棋盤_駒();
    EXPECT_EQ(game.board, resigned.board) << "a sign differs from what the position gives";
}

void expectLawfulMove(const Game& before, const Game& after, Square choice, const Hand& dealt) {
    EXPECT_EQ(boards::census(after), dealt) << "pieces appeared or vanished";
    int emptied = 0;
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            const int was = before.board[x][y];
            const int is = after.board[x][y];
            if (is == EMPTY) {
                emptied += was != EMPTY;
                continue;
            }
            EXPECT_EQ(std::abs(is), std::abs(was)) << "a piece came or changed on " << x << "," << y;
        }
    }
    EXPECT_EQ(emptied, before.調査_消駒数(choice.x, choice.y));
    const int mover = before.sideToMove;
    EXPECT_EQ(handTotal(handOf(after, mover)), handTotal(handOf(before, mover)) + emptied);
    EXPECT_EQ(handOf(after, -mover), handOf(before, -mover)) << "only the mover's hand grows";
    expectSignsUpToDate(after);
}

std::string expectedWinner(const Game& game, int lastMover) {
    if (game.gameMode == MODE_COM) return lastMover == game.ownSide ? "あなた" : "ＣＯＭ";
    return lastMover == SIDE_SENTE ? "先手" : "後手";
}

// Walks the whole record back to the deal and forward to the end again.
void expectRecordReplays(Game game, const MoveRecord& record, const std::vector<Game>& positions) {
    const auto expectAt = [&](int n) {
        EXPECT_EQ(game.board, positions[n].board) << "position " << n;
        EXPECT_EQ(game.ownHand, positions[n].ownHand) << "position " << n;
        EXPECT_EQ(game.enemyHand, positions[n].enemyHand) << "position " << n;
        EXPECT_EQ(game.sideToMove, n % 2 == 0 ? SIDE_SENTE : SIDE_GOTE) << "position " << n;
    };
    while (record.canStepBack(game)) {
        record.stepBack(game);
        EXPECT_EQ(game.gameOver, OFF);
        expectAt(game.moveNumber);
    }
    EXPECT_EQ(game.moveNumber, 0);
    while (record.canStepForward(game)) {
        record.stepForward(game);
        expectAt(game.moveNumber);
    }
    EXPECT_EQ(game.gameOver, ON);
}

void playRandomGame(unsigned seed) {
    const int mode = seed % 3 == 0 ? MODE_COM : MODE_HUMAN;
    const int person = mode == MODE_COM && seed % 2 == 1 ? SIDE_GOTE : SIDE_SENTE;
    Game game;
    MoveRecord record;
    Dealer dealer = seededDealer(seed);
    playing::startGame(game, record, dealer, mode, person);

    const Hand dealt = boards::census(game);
    ASSERT_EQ(handTotal(dealt), 81);
    const std::set<int> allowed = kindsAllowedFor(static_cast<int>(seed % 10));
    for (int k = 1; k <= pieceKinds; ++k) {
        if (dealt[k] == 0) continue;
        EXPECT_TRUE(allowed.count(k)) << "kind " << k << " dealt";
    }
    expectSignsUpToDate(game);

    std::mt19937 chooser(seed);
    std::vector<Game> positions = {game};
    int lastMover = SIDE_NONE;
    while (game.gameOver == OFF) {
        ASSERT_LT(game.moveNumber, 80) << "every move takes a piece, so 80 moves empty the board";
        const std::vector<Square> choices = candidates(game);
        ASSERT_FALSE(choices.empty()) << "the game goes on with nothing to pick up";
        const Game before = game;
        lastMover = game.sideToMove;
        Square choice;
        if (mode == MODE_COM && lastMover == game.enemySide) {
            choice = *playing::playComputerMove(game, record);
        } else {
            choice = choices[chooser() % choices.size()];
            playing::playMove(game, record, choice);
        }
        expectLawfulMove(before, game, choice, dealt);
        positions.push_back(game);
        if (testing::Test::HasFailure()) return;
    }
    EXPECT_EQ(game.調査_消駒有無(), OFF);
    EXPECT_EQ(game.winnerName, expectedWinner(game, lastMover));
    EXPECT_EQ(record.lastMoveNumber, game.moveNumber);
    expectRecordReplays(game, record, positions);
}

}  // namespace

TEST(RandomGames, EveryMoveKeepsThePiecesSignsAndRecordConsistent) {
    for (unsigned seed = 1; seed <= gameCount; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        playRandomGame(seed);
        if (HasFailure()) return;
    }
}
