#include <gtest/gtest.h>

#include "boards.h"
#include "computer.h"
#include "playing.h"

using namespace quolvet;

namespace {

Game signedBoard(std::initializer_list<boards::Placed> pieces) {
    Game game = boards::with(pieces);
    game.設定_将棋盤_駒();
    return game;
}

}  // namespace

TEST(ComputerChoice, OnATieTheFirstColumnThenTheFirstRowWins) {
    // Two kings with three pawns each. The one in column 2 sits lower, so a scan by rows
    // would meet the other first.
    const Game columns = signedBoard({{2, 8, OU}, {1, 8, HU}, {3, 8, HU}, {2, 7, HU},
                                      {4, 2, OU}, {3, 2, HU}, {5, 2, HU}, {4, 1, HU}});
    EXPECT_EQ(chooseComputerSquare(columns), (Square{2, 8}));

    const Game rows = signedBoard({{5, 7, OU}, {4, 7, HU}, {6, 7, HU}, {5, 6, HU},
                                   {5, 3, OU}, {4, 3, HU}, {6, 3, HU}, {5, 2, HU}});
    EXPECT_EQ(chooseComputerSquare(rows), (Square{5, 3}));
}

TEST(ComputerChoice, OnlyTheNumberOfPiecesCounts) {
    // The gold in column 2 can take two kings, the one in column 7 three pawns.
    const Game game = signedBoard(
        {{2, 8, KIN}, {1, 7, OU}, {3, 7, OU}, {7, 5, KIN}, {6, 4, HU}, {7, 4, HU}, {8, 4, HU}});
    EXPECT_EQ(盤評価(game, 2, 8), 3);
    EXPECT_EQ(盤評価(game, 7, 5), 4);
    EXPECT_EQ(chooseComputerSquare(game), (Square{7, 5}));

    Game withHands = game;
    withHands.enemyHand[OU] = 5;
    withHands.moveNumber = 17;
    EXPECT_EQ(chooseComputerSquare(withHands), chooseComputerSquare(game));
}

TEST(ComputerChoice, ASoleCandidateWithOnePickUpScoresTwoAndIsChosen) {
    const Game game = signedBoard({{5, 5, HU}, {5, 4, HU}, {9, 9, OU}});
    EXPECT_EQ(盤評価(game, 5, 5), 2);
    EXPECT_EQ(chooseComputerSquare(game), (Square{5, 5}));
}

TEST(ComputerChoice, NoMoveWhenNothingCanBePickedUp) {
    EXPECT_EQ(chooseComputerSquare(signedBoard({{5, 5, HU}, {1, 1, KYOU}})), std::nullopt);
    EXPECT_EQ(chooseComputerSquare(signedBoard({})), std::nullopt);

    Game game = signedBoard({{5, 5, HU}});
    MoveRecord record;
    const Game before = game;
    EXPECT_EQ(playing::playComputerMove(game, record), std::nullopt);
    EXPECT_EQ(game.board, before.board);
    EXPECT_EQ(game.moveNumber, 0);
}

TEST(ComputerTurn, AWinningReplyPassesTheTurnBeforeTheGameEnds) {
    Game game = signedBoard({{5, 5, HU}, {5, 4, HU}, {9, 9, OU}});
    game.gameMode = MODE_COM;
    game.sideToMove = game.enemySide;
    MoveRecord record;
    EXPECT_EQ(playing::playComputerMove(game, record), (Square{5, 5}));
    EXPECT_EQ(game.gameOver, ON);
    EXPECT_EQ(game.winnerName, "ＣＯＭ");
    EXPECT_EQ(game.sideToMove, game.ownSide);
    EXPECT_EQ(game.enemyHand[HU], 1);
    EXPECT_EQ(game.moveNumber, 1);
    EXPECT_EQ(record.lastMoveNumber, 1);
}

TEST(PersonTurn, AWinningMoveKeepsTheTurnWithTheWinner) {
    Game game = signedBoard({{5, 5, HU}, {5, 4, HU}});
    game.gameMode = MODE_COM;
    MoveRecord record;
    playing::playMove(game, record, {5, 5});
    EXPECT_EQ(game.gameOver, ON);
    EXPECT_EQ(game.winnerName, "あなた");
    EXPECT_EQ(game.sideToMove, game.ownSide);
}
