#include <gtest/gtest.h>

#include <map>

#include "boards.h"

using namespace quolvet;

namespace {

// A clock stuck at `t` and a generator that walks through m = 1..9 over and over, so a deal
// draws every multiplier exactly nine times.
Dealer stuckDealer(float t) {
    Dealer dealer;
    dealer.timeOfDay = [t] { return t; };
    dealer.uniform = [i = 0]() mutable { return ((i++ % 9) + 0.5) / 9; };
    return dealer;
}

Game dealtWith(Dealer& dealer) {
    Game game;
    game.設定_将棋盤(dealer);
    return game;
}

std::map<int, int> kindsOnBoard(const Game& game) {
    std::map<int, int> count;
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) ++count[std::abs(game.board[x][y])];
    }
    return count;
}

}  // namespace

TEST(TimeDigit, IsTheLastDigitOfTheTimeWrittenWithSevenSignificantDigits) {
    EXPECT_EQ(timeDigit(5.13f), 3);
    EXPECT_EQ(timeDigit(5.1f), 1);
    EXPECT_EQ(timeDigit(5.0f), 5);
    EXPECT_EQ(timeDigit(60.0f), 0);
    EXPECT_EQ(timeDigit(0.0f), 0);
    EXPECT_EQ(timeDigit(86399.99f), 9);
    EXPECT_EQ(timeDigit(43200.01f), 1);
}

TEST(TimeDigit, ReadsTheSinglePrecisionValueNotTheDecimalOneWritten) {
    EXPECT_EQ(timeDigit(12345.675f), 7) << "stored as 12345.6748…";
    EXPECT_EQ(timeDigit(1234.5675f), 8) << "stored as 1234.56750…";
    EXPECT_EQ(timeDigit(86399.995f), 9) << "the nearest float is 86399.992";
    EXPECT_EQ(timeDigit(3.0000001f), 3);
    EXPECT_EQ(timeDigit(0.3f), 3);
}

TEST(Deal, FillsEverySquareWithAnActivePiece) {
    Dealer dealer = stuckDealer(7.0f);
    const Game game = dealtWith(dealer);
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) EXPECT_LT(game.board[x][y], 0) << x << "," << y;
    }
    EXPECT_EQ(game.board[0], Grid{}[0]) << "column 0 stays untouched";
}

TEST(Deal, TheTimeDigitFixesThePieceMix) {
    const std::map<int, int> odd = {{KYOU, 9}, {KEI, 9}, {GIN, 9}, {KIN, 9},
                                    {SYA, 9},  {OU, 9},  {KAKU, 27}};
    const std::map<int, int> even = {{HU, 9}, {KEI, 18}, {KIN, 18}, {OU, 18}, {KAKU, 18}};
    const std::map<int, std::map<int, int>> mixByDigit = {
        {0, {{HU, 81}}}, {1, odd}, {2, even},  {3, odd}, {4, even},
        {5, {{SYA, 45}, {HU, 36}}}, {6, even}, {7, odd}, {8, even}, {9, odd}};
    for (const auto& [digit, mix] : mixByDigit) {
        Dealer dealer = stuckDealer(1000.0f + digit);
        EXPECT_EQ(kindsOnBoard(dealtWith(dealer)), mix) << "digit " << digit;
    }
}

TEST(Deal, ReadsTheClockForEverySquareInScanOrder) {
    Dealer dealer = stuckDealer(0);
    dealer.timeOfDay = [calls = 0]() mutable { return calls++ < 9 ? 0.0f : 1.0f; };
    const Game game = dealtWith(dealer);
    for (int y = 1; y <= 9; ++y) EXPECT_EQ(game.board[1][y], HU_ACTIVE);
    EXPECT_EQ(kindsOnBoard(game)[HU], 9) << "only column 1 was dealt while the digit was 0";
}

TEST(Deal, TheGeneratorStartsTheSameAndRunsOnFromDealToDeal) {
    Dealer first;
    Dealer second;
    first.timeOfDay = second.timeOfDay = [] { return 3.0f; };
    const Game a = dealtWith(first);
    EXPECT_EQ(a.board, dealtWith(second).board) << "every run starts with the same sequence";
    EXPECT_NE(a.board, dealtWith(first).board) << "the next deal must not start over";
}

TEST(Deal, DefaultGeneratorStaysInTheUnitIntervalAndReachesEveryMultiplier) {
    UniformGenerator uniform;
    std::array<int, 10> multipliers{};
    for (int i = 0; i < 20000; ++i) {
        const double r = uniform();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        ++multipliers[static_cast<int>(r * 9 + 1)];
    }
    for (int m = 1; m <= 9; ++m) EXPECT_GT(multipliers[m], 1500) << m;
}

TEST(NewBoard, ClearsTheGameButKeepsSidesAndMode) {
    Game game = boards::with({});
    game.gameMode = MODE_COM;
    game.ownSide = SIDE_GOTE;
    game.enemySide = SIDE_SENTE;
    game.moveNumber = 12;
    game.gameOver = ON;
    game.ownHand[KIN] = 3;
    game.enemyHand[HU] = 4;
    Dealer dealer = stuckDealer(1000.0f);
    game.newBoard(dealer);

    EXPECT_EQ(game.moveNumber, 0);
    EXPECT_EQ(game.sideToMove, SIDE_NONE);
    EXPECT_EQ(game.gameOver, OFF);
    EXPECT_EQ(game.ownHand, Hand{});
    EXPECT_EQ(game.enemyHand, Hand{});
    EXPECT_EQ(game.gameMode, MODE_COM);
    EXPECT_EQ(game.ownSide, SIDE_GOTE);
    EXPECT_EQ(game.enemySide, SIDE_SENTE);
    for (int x = 1; x <= 9; ++x) {
        EXPECT_EQ(game.board[x][1], HU) << "dealt and signed: the top row of pawns is idle";
        EXPECT_EQ(game.board[x][9], HU_ACTIVE);
    }
}
