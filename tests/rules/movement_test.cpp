#include <gtest/gtest.h>

#include "boards.h"

using namespace quolvet;
using boards::reach;
using boards::Squares;

namespace {

const Squares kingNeighbours = {{4, 4}, {5, 4}, {6, 4}, {4, 5}, {6, 5}, {4, 6}, {5, 6}, {6, 6}};

Squares stepReach(int kind) {
    switch (kind) {
        case HU: return {{5, 4}};
        case KEI: return {{4, 3}, {6, 3}};
        case GIN: return {{4, 4}, {5, 4}, {6, 4}, {4, 6}, {6, 6}};
        case KIN: return {{4, 4}, {5, 4}, {6, 4}, {4, 5}, {6, 5}, {5, 6}};
        default: return kingNeighbours;
    }
}

}  // namespace

// Step pieces jump: what stands around them, or on the target, changes nothing.
TEST(StepPieces, ReachTheSameSquaresOnAnOpenAndAFullBoard) {
    for (int kind : {HU, KEI, GIN, KIN, OU}) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(reach(boards::with({{5, 5, kind}}), 5, 5), stepReach(kind));
        EXPECT_EQ(reach(boards::full(KIN, {{5, 5, kind}}), 5, 5), stepReach(kind));
        EXPECT_EQ(reach(boards::full(KIN, {{5, 5, -kind}}), 5, 5), stepReach(kind))
            << "an active code moves like its idle one";
    }
}

TEST(StepPieces, PiecesThatOnlyGoForwardAreStuckAtTheTop) {
    for (int kind : {HU, KYOU, KEI}) {
        EXPECT_TRUE(reach(boards::full(HU, {{4, 1, kind}}), 4, 1).empty()) << kind;
    }
    EXPECT_TRUE(reach(boards::full(HU, {{4, 2, KEI}}), 4, 2).empty());
}

TEST(StepPieces, NothingOffTheBoardAndNeverTheOwnSquare) {
    for (int kind = HU; kind <= OU; ++kind) {
        for (auto [x, y] : {std::pair{1, 1}, {9, 1}, {1, 9}, {9, 9}, {5, 5}}) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << " on " << x << "," << y);
            const Game game = boards::with({{x, y, kind}});
            for (auto [i, j] : reach(game, x, y)) {
                EXPECT_TRUE(i >= 1 && i <= 9 && j >= 1 && j <= 9) << i << "," << j;
            }
            EXPECT_EQ(game.移動チェック(x, y, x, y, kind), OFF);
        }
    }
    const Game corner = boards::with({{1, 1, OU}});
    EXPECT_EQ(reach(corner, 1, 1), Squares({{2, 1}, {1, 2}, {2, 2}}));
    const Game edge = boards::with({{9, 5, SYA}});
    EXPECT_EQ(edge.移動チェック(9, 5, 10, 5, SYA), OFF);
    EXPECT_EQ(edge.移動チェック(9, 5, 9, 0, SYA), OFF);
    EXPECT_EQ(edge.移動チェック(9, 5, 9, 10, SYA), OFF);
}

TEST(SlidingPieces, LanceStopsAtTheFirstPieceAhead) {
    const Game game = boards::with({{5, 9, KYOU}, {5, 6, HU}, {5, 3, HU}});
    EXPECT_EQ(reach(game, 5, 9), Squares({{5, 8}, {5, 7}, {5, 6}}));

    Squares column;
    for (int y = 1; y <= 8; ++y) column.insert({5, y});
    EXPECT_EQ(reach(boards::with({{5, 9, KYOU}}), 5, 9), column);
}

TEST(SlidingPieces, RookReachesTheNearestPieceEachWayAndTheGapsBefore) {
    const Game game = boards::with(
        {{5, 5, SYA}, {5, 3, HU}, {5, 1, HU}, {5, 9, HU}, {2, 5, HU}, {1, 5, HU}, {4, 4, HU}});
    const Squares expected = {{5, 4}, {5, 3}, {5, 6}, {5, 7}, {5, 8}, {5, 9},
                              {4, 5}, {3, 5}, {2, 5}, {6, 5}, {7, 5}, {8, 5}, {9, 5}};
    EXPECT_EQ(reach(game, 5, 5), expected);
    EXPECT_EQ(reach(boards::full(HU, {{5, 5, SYA}}), 5, 5),
              Squares({{5, 4}, {5, 6}, {4, 5}, {6, 5}}));
}

TEST(SlidingPieces, BishopStopsAtTheFirstPieceOnEachDiagonal) {
    EXPECT_EQ(reach(boards::full(HU, {{1, 9, KAKU}}), 1, 9), Squares({{2, 8}}));
    EXPECT_EQ(reach(boards::full(HU, {{9, 1, KAKU}}), 9, 1), Squares({{8, 2}}));
    EXPECT_EQ(reach(boards::full(HU, {{5, 5, KAKU}}), 5, 5),
              Squares({{4, 4}, {6, 4}, {4, 6}, {6, 6}}));

    const Game game = boards::with({{5, 5, KAKU}, {3, 3, HU}, {8, 8, HU}, {7, 3, HU}});
    const Squares expected = {{4, 4}, {3, 3}, {6, 4}, {7, 3}, {4, 6}, {3, 7}, {2, 8},
                              {1, 9}, {6, 6}, {7, 7}, {8, 8}};
    EXPECT_EQ(reach(game, 5, 5), expected);
}
