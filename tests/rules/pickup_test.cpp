#include <gtest/gtest.h>

#include "boards.h"
#include "playing.h"

using namespace quolvet;
using boards::pickUpSet;
using boards::Squares;

TEST(PickUpSet, PawnTakesThePieceAheadIntoTheMoversHand) {
    Game game = boards::with({{3, 5, HU}, {3, 4, KIN}});
    game.設定_将棋盤_駒();
    MoveRecord record;
    EXPECT_EQ(pickUpSet(game, 3, 5), Squares({{3, 4}}));

    playing::playMove(game, record, {3, 5});
    EXPECT_EQ(game.board[3][4], EMPTY);
    EXPECT_EQ(game.board[3][5], HU) << "the chosen piece stays, idle now";
    EXPECT_EQ(game.ownHand[KIN], 1);
    EXPECT_EQ(game.enemyHand, Hand{});
}

TEST(PickUpSet, SurroundedPiecesTakeTheirWholeReachAndNothingBehindIt) {
    const Game full = boards::full(HU, {{5, 5, OU}});
    EXPECT_EQ(full.調査_消駒数(5, 5), 8);
    EXPECT_EQ(pickUpSet(full, 5, 5).size(), 8u);

    const Game rook = boards::full(KEI, {{5, 5, SYA}});
    EXPECT_EQ(pickUpSet(rook, 5, 5), Squares({{5, 4}, {5, 6}, {4, 5}, {6, 5}}));

    const Game bishop = boards::with({{5, 5, KAKU}, {2, 2, HU}, {1, 1, HU}, {7, 3, HU}, {8, 2, HU},
                                      {3, 7, HU}, {9, 9, HU}, {8, 8, HU}});
    EXPECT_EQ(pickUpSet(bishop, 5, 5), Squares({{2, 2}, {7, 3}, {3, 7}, {8, 8}}));
    EXPECT_EQ(bishop.調査_消駒数(5, 5), 4);
}

TEST(PickUpSet, EmptyWhenTheReachHoldsOnlyEmptySquaresOrTheEdge) {
    const Game game = boards::with({{1, 1, HU}, {5, 1, KEI}, {5, 9, KEI}, {5, 8, HU}, {9, 5, OU}});
    for (auto [x, y] : {std::pair{1, 1}, {5, 1}, {5, 9}, {5, 8}, {9, 5}}) {
        EXPECT_EQ(game.調査_消駒数(x, y), 0);
        EXPECT_EQ(game.調査_消駒有無_座標(x, y), OFF);
    }
    EXPECT_EQ(game.調査_消駒有無(), OFF);
    EXPECT_EQ(boards::with({}).調査_消駒有無(), OFF);
}

TEST(PickUpSet, ASinglePairAnywhereMeansSomethingCanBePickedUp) {
    // The last square of the scan is the only one that can pick anything up.
    const Game game = boards::with({{1, 1, HU}, {9, 9, KYOU}, {9, 2, KIN}});
    EXPECT_EQ(game.調査_消駒有無(), ON);
    EXPECT_EQ(game.調査_消駒有無_座標(9, 9), ON);
}

TEST(PickUpSet, MarkingForgetsTheMarksOfThePreviousMove) {
    Game game = boards::full(HU, {{5, 5, OU}});
    game.設定_消去駒(5, 5);
    game.設定_消去駒(1, 9);
    EXPECT_EQ(pickUpSet(game, 1, 9), Squares({{1, 8}}));
    EXPECT_EQ(game.removeMark[4][4], OFF);
}

TEST(Hands, EachPieceCountsUnderItsKindInTheMoversHand) {
    Game game = boards::with({});
    game.駒_取得(SIDE_SENTE, KAKU_ACTIVE);
    game.駒_取得(SIDE_SENTE, KAKU);
    game.駒_取得(SIDE_GOTE, OU_ACTIVE);
    EXPECT_EQ(game.ownHand[KAKU], 2) << "active and idle codes count alike";
    EXPECT_EQ(game.enemyHand[OU], 1);

    const Game before = game;
    game.駒_取得(SIDE_NONE, HU);
    EXPECT_EQ(game.ownHand, before.ownHand);
    EXPECT_EQ(game.enemyHand, before.enemyHand);
    EXPECT_EQ(game.ownHand[0] + game.enemyHand[0], 0);
}

TEST(Hands, TheSecondPlayerCollectsIntoTheEnemyHand) {
    Game game = boards::full(HU, {{5, 5, -OU}});
    game.設定_消去駒(5, 5);
    game.takeMarkedPieces(SIDE_GOTE);
    EXPECT_EQ(game.enemyHand[HU], 8);
    EXPECT_EQ(game.ownHand, Hand{});
    for (auto [x, y] : pickUpSet(boards::full(HU, {{5, 5, OU}}), 5, 5)) {
        EXPECT_EQ(game.board[x][y], EMPTY);
    }
    EXPECT_EQ(game.board[5][5], -OU) << "taking leaves the signs to the caller";
}

TEST(Signs, ActiveExactlyWhenThePieceCanPickSomethingUp) {
    Game pawns = boards::full(HU);
    pawns.設定_将棋盤_駒();
    for (int x = 1; x <= 9; ++x) {
        EXPECT_EQ(pawns.board[x][1], HU) << "a pawn on the top row reaches nothing";
        for (int y = 2; y <= 9; ++y) EXPECT_EQ(pawns.board[x][y], HU_ACTIVE);
    }

    // Signs follow the position, not the codes the board held before.
    Game game = boards::with({{3, 5, -HU}, {3, 4, KIN}, {8, 8, -SYA}});
    game.設定_将棋盤_駒();
    EXPECT_EQ(game.board[3][5], HU_ACTIVE);
    EXPECT_EQ(game.board[3][4], KIN_ACTIVE);
    EXPECT_EQ(game.board[8][8], SYA);
    EXPECT_EQ(game.board[1][1], EMPTY);
}
