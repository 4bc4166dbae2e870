#include <gtest/gtest.h>

#include "playing.h"

using namespace quolvet;

TEST(Smoke, DealtBoardIsFull) {
    Game game;
    MoveRecord record;
    Dealer dealer;
    playing::startGame(game, record, dealer, MODE_HUMAN);
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) EXPECT_NE(game.board[x][y], EMPTY);
}
