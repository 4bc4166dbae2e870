#include <gtest/gtest.h>

#include "computer.h"
#include "playing.h"

using namespace quolvet;

// Two steps back and a different move: the old moves 2 and 3 are gone for good.
TEST(Record, AMoveAfterSteppingBackCutsTheLineOfPlay) {
    Game game;
    MoveRecord record;
    Dealer dealer;
    dealer.timeOfDay = [] { return 7.0f; };
    playing::startGame(game, record, dealer, MODE_HUMAN);
    std::vector<Grid> boards = {game.board};
    for (int i = 0; i < 3; ++i) {
        playing::playMove(game, record, *chooseComputerSquare(game));
        boards.push_back(game.board);
    }
    ASSERT_EQ(game.gameOver, OFF) << "the deal is meant to last longer than three moves";

    record.stepBack(game);
    record.stepBack(game);
    ASSERT_EQ(game.board, boards[1]);
    Square other{};
    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y)
            if (game.board[x][y] < 0) other = {x, y};  // the last candidate, not the computer's first
    playing::playMove(game, record, other);

    EXPECT_EQ(game.moveNumber, 2);
    EXPECT_EQ(record.lastMoveNumber, 2);
    EXPECT_NE(game.board, boards[2]) << "a different second move was meant";
    EXPECT_EQ(record.historyBoard[2], game.board);
    EXPECT_EQ(record.historyEnemyHand[2], game.enemyHand);
    EXPECT_FALSE(record.canStepForward(game));
    record.stepBack(game);
    EXPECT_EQ(game.board, boards[1]);
}
