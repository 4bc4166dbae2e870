#include <gtest/gtest.h>

#include "boards.h"

using namespace quolvet;
using boards::reach;
using boards::Squares;
using boards::with;

namespace {

struct ReachCase {
    const char* what;
    Game game;
    int x;
    int y;
    Squares expected;
};

}  // namespace

// Step pieces jump: what stands around them, or on the target, changes nothing, and an
// active code moves like its idle one.
TEST(Movement, StepPiecesReachTheSameSquaresOnAnOpenAndAFullBoard) {
    const std::pair<int, Squares> steps[] = {
        {HU, {{5, 4}}},
        {KEI, {{4, 3}, {6, 3}}},
        {GIN, {{4, 4}, {5, 4}, {6, 4}, {4, 6}, {6, 6}}},
        {KIN, {{4, 4}, {5, 4}, {6, 4}, {4, 5}, {6, 5}, {5, 6}}},
        {OU, {{4, 4}, {5, 4}, {6, 4}, {4, 5}, {6, 5}, {4, 6}, {5, 6}, {6, 6}}}};
    for (const auto& [kind, expected] : steps) {
        for (const Game& game : {with({{5, 5, kind}}), with({{5, 5, kind}}, KIN), with({{5, 5, -kind}}, KIN)})
            EXPECT_EQ(reach(game, 5, 5), expected) << "kind " << kind << " on " << game.board[1][1];
    }
}

TEST(Movement, SlidersStopAtTheFirstPieceEachWay) {
    const ReachCase cases[] = {
        {"lance", with({{5, 9, KYOU}, {5, 6, HU}, {5, 3, HU}}), 5, 9, {{5, 8}, {5, 7}, {5, 6}}},
        {"lance, open file", with({{5, 9, KYOU}}), 5, 9, {{5, 1}, {5, 2}, {5, 3}, {5, 4}, {5, 5}, {5, 6}, {5, 7}, {5, 8}}},
        {"rook", with({{5, 5, SYA}, {5, 3, HU}, {5, 1, HU}, {5, 9, HU}, {2, 5, HU}, {1, 5, HU}, {4, 4, HU}}), 5, 5,
         {{5, 4}, {5, 3}, {5, 6}, {5, 7}, {5, 8}, {5, 9}, {4, 5}, {3, 5}, {2, 5}, {6, 5}, {7, 5}, {8, 5}, {9, 5}}},
        {"rook, full board", with({{5, 5, SYA}}, HU), 5, 5, {{5, 4}, {5, 6}, {4, 5}, {6, 5}}},
        {"bishop", with({{5, 5, KAKU}, {3, 3, HU}, {8, 8, HU}, {7, 3, HU}}), 5, 5,
         {{4, 4}, {3, 3}, {6, 4}, {7, 3}, {4, 6}, {3, 7}, {2, 8}, {1, 9}, {6, 6}, {7, 7}, {8, 8}}},
        {"bishop, full board", with({{5, 5, KAKU}}, HU), 5, 5, {{4, 4}, {6, 4}, {4, 6}, {6, 6}}},
        {"bishop in a corner", with({{9, 1, KAKU}}, HU), 9, 1, {{8, 2}}},
        {"king in a corner", with({{1, 1, OU}}), 1, 1, {{2, 1}, {1, 2}, {2, 2}}},
        {"pawn on the top row", with({{4, 1, HU}}, HU), 4, 1, {}},
        {"lance on the top row", with({{4, 1, KYOU}}, HU), 4, 1, {}},
        {"knight on the second row", with({{4, 2, KEI}}, HU), 4, 2, {}}};
    for (const ReachCase& c : cases) EXPECT_EQ(reach(c.game, c.x, c.y), c.expected) << c.what;
}

TEST(Movement, NothingOffTheBoardAndNeverTheOwnSquare) {
    for (int kind = HU; kind <= OU; ++kind) {
        for (auto [x, y] : {std::pair{1, 1}, {9, 1}, {1, 9}, {9, 9}, {9, 5}, {5, 5}}) {
            const Game game = with({{x, y, kind}});
            for (auto [i, j] : reach(game, x, y))
                EXPECT_TRUE(i >= 1 && i <= 9 && j >= 1 && j <= 9) << kind << " on " << x << "," << y << " to " << i << "," << j;
            EXPECT_EQ(game.移動チェック(x, y, x, y, kind), OFF) << kind;
        }
    }
}

// The scan over every square must reach the last one, and an open reach picks nothing up.
TEST(PickUp, CountsAndAnswersFollowTheReach) {
    const Game lastSquare = with({{1, 1, HU}, {9, 9, KYOU}, {9, 2, KIN}});
    EXPECT_EQ(lastSquare.調査_消駒有無(), ON);
    EXPECT_EQ(lastSquare.調査_消駒数(9, 9), 1);

    const Game nothing = with({{1, 1, HU}, {5, 1, KEI}, {5, 9, KEI}, {5, 8, HU}, {9, 5, OU}});
    EXPECT_EQ(nothing.調査_消駒有無(), OFF);
    EXPECT_EQ(nothing.調査_消駒有無_座標(5, 9), OFF) << "a knight jumps over the pawn ahead";

    Game bishop = with({{5, 5, KAKU}, {2, 2, HU}, {1, 1, HU}, {7, 3, HU}, {8, 2, HU}, {3, 7, HU}, {8, 8, HU}});
    EXPECT_EQ(bishop.調査_消駒数(5, 5), 4) << "only the first piece on each diagonal";

    // The pieces go to the hand of the side named, and to nobody's when no side is.
    bishop.設定_消去駒(5, 5);
    for (const int side : {SIDE_NONE, SIDE_GOTE, SIDE_SENTE}) {
        Game taking = bishop;
        taking.takeMarkedPieces(side);
        EXPECT_EQ(taking.ownHand[HU], side == SIDE_SENTE ? 4 : 0) << side;
        EXPECT_EQ(taking.enemyHand[HU], side == SIDE_GOTE ? 4 : 0) << side;
        EXPECT_EQ(taking.board[2][2], EMPTY);
    }
}
