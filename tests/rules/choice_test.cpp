#include <gtest/gtest.h>

#include "boards.h"
#include "computer.h"

using namespace quolvet;

namespace {

Game signedBoard(std::initializer_list<boards::Placed> pieces) {
    Game game = boards::with(pieces);
    game.設定_将棋盤_駒();
    return game;
}

}  // namespace

TEST(ComputerChoice, TheMostPiecesWinThenTheFirstColumnThenTheFirstRow) {
    const struct {
        const char* what;
        Game game;
        std::optional<Square> choice;
    } cases[] = {
        // Two kings with three pawns each; the one in column 2 sits lower, so a scan by rows
        // would meet the other first.
        {"tie across columns", signedBoard({{2, 8, OU}, {1, 8, HU}, {3, 8, HU}, {2, 7, HU},
                                            {4, 2, OU}, {3, 2, HU}, {5, 2, HU}, {4, 1, HU}}), Square{2, 8}},
        {"tie in one column", signedBoard({{5, 7, OU}, {4, 7, HU}, {6, 7, HU}, {5, 6, HU},
                                           {5, 3, OU}, {4, 3, HU}, {6, 3, HU}, {5, 2, HU}}), Square{5, 3}},
        // Two kings for the gold in column 2, three pawns for the one in column 7.
        {"count, not worth", signedBoard({{2, 8, KIN}, {1, 7, OU}, {3, 7, OU}, {7, 5, KIN}, {6, 4, HU},
                                          {7, 4, HU}, {8, 4, HU}}), Square{7, 5}},
        {"a sole candidate", signedBoard({{5, 5, HU}, {5, 4, HU}, {9, 9, OU}}), Square{5, 5}},
        {"nothing within reach", signedBoard({{5, 5, HU}, {1, 1, KYOU}}), std::nullopt},
        {"an empty board", signedBoard({}), std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(chooseComputerSquare(c.game), c.choice) << c.what;

    EXPECT_EQ(盤評価(cases[2].game, 2, 8), 3);
    EXPECT_EQ(盤評価(cases[2].game, 7, 5), 4);
    EXPECT_EQ(盤評価(cases[3].game, 5, 5), 2);
}

// Only the first piece on each diagonal is reached, and the pieces go to the hand of the side
// named, or to nobody's when no side is.
TEST(PickUp, TheFirstPieceEachWayGoesToTheMoversHand) {
    Game bishop = boards::with({{5, 5, KAKU}, {2, 2, HU}, {1, 1, HU}, {7, 3, HU}, {8, 2, HU}, {3, 7, HU}, {8, 8, HU}});
    EXPECT_EQ(bishop.調査_消駒数(5, 5), 4);
    bishop.設定_消去駒(5, 5);
    for (const int side : {SIDE_NONE, SIDE_GOTE, SIDE_SENTE}) {
        Game taking = bishop;
        taking.takeMarkedPieces(side);
        EXPECT_EQ(std::pair(taking.ownHand[HU], taking.enemyHand[HU]),
                  std::pair(side == SIDE_SENTE ? 4 : 0, side == SIDE_GOTE ? 4 : 0)) << side;
        EXPECT_EQ(std::pair(taking.board[2][2], taking.board[1][1]), std::pair(EMPTY, HU));
    }
}
