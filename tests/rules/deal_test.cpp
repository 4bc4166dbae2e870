#include <gtest/gtest.h>

#include <map>

#include "boards.h"

using namespace quolvet;

namespace {

Game dealtWith(Dealer& dealer) {
    Game game;
    game.設定_将棋盤(dealer);
    return game;
}

// The active kinds dealt with a clock stuck at `t` and a generator that walks through
// m = 1..9 over and over, so that a deal draws every multiplier exactly nine times.
std::map<int, int> mixDealtAt(float t) {
    Dealer dealer;
    dealer.timeOfDay = [t] { return t; };
    dealer.uniform = [i = 0]() mutable { return ((i++ % 9) + 0.5) / 9; };
    const Game game = dealtWith(dealer);
    std::map<int, int> count;
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) ++count[-game.board[x][y]];
    }
    return count;
}

}  // namespace

// Every square is dealt an active piece: the last digit of the time, written with seven
// significant digits of its single-precision value (not the decimal one written here), times
// the multiplier picks its kind.
TEST(Deal, TheTimeOfDayFixesThePieceMix) {
    const std::map<int, int> odd = {{KYOU, 9}, {KEI, 9}, {GIN, 9}, {KIN, 9}, {SYA, 9}, {OU, 9}, {KAKU, 27}};
    const std::map<int, int> even = {{HU, 9}, {KEI, 18}, {KIN, 18}, {OU, 18}, {KAKU, 18}};
    const std::map<int, int> mixByDigit[] = {{{HU, 81}}, odd, even, odd, even, {{SYA, 45}, {HU, 36}},
                                             even,       odd, even, odd};
    const std::pair<float, int> digitOfTime[] = {
        {5.13f, 3},     {5.1f, 1},       {5.0f, 5},        {60.0f, 0},       {0.0f, 0},  {0.2f, 2},
        {86399.99f, 9}, {43200.01f, 1},  {3.0000001f, 3},  {0.3f, 3},        {4.0f, 4},  {86.06f, 6},
        {12345.675f, 7} /* 12345.6748… */, {1234.5675f, 8} /* 1234.56750… */, {86399.995f, 9} /* 86399.992 */};
    for (const auto& [t, digit] : digitOfTime)
        EXPECT_EQ(mixDealtAt(t), mixByDigit[digit]) << "time " << t << ", digit " << digit;
}

TEST(Deal, TheGeneratorStartsTheSameAndRunsOnFromDealToDeal) {
    Dealer first;
    Dealer second;
    first.timeOfDay = second.timeOfDay = [] { return 3.0f; };
    const Game a = dealtWith(first);
    EXPECT_EQ(a.board, dealtWith(second).board) << "every run starts with the same sequence";
    EXPECT_NE(a.board, dealtWith(first).board) << "the next deal must not start over";
}
