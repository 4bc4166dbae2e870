#include <gtest/gtest.h>

#include "boards.h"
#include "computer.h"

using namespace quolvet;

TEST(ComputerChoice, TheMostPiecesWinThenTheFirstColumnThenTheFirstRow) {
    const struct {
        const char* what;
        Game game;
        std::optional<Square> choice;
    } cases[] = {
        // Two kings with three pawns each; the one in column 2 sits lower, so a scan by rows
        // would meet the other first.
        {"tie across columns", boards::with({{2, 8, OU}, {1, 8, HU}, {3, 8, HU}, {2, 7, HU},
                                             {4, 2, OU}, {3, 2, HU}, {5, 2, HU}, {4, 1, HU}}), Square{2, 8}},
        {"tie in one column", boards::with({{5, 7, OU}, {4, 7, HU}, {6, 7, HU}, {5, 6, HU},
                                            {5, 3, OU}, {4, 3, HU}, {6, 3, HU}, {5, 2, HU}}), Square{5, 3}},
        // Two kings for the gold in column 2, three pawns for the one in column 7.
        {"count, not worth", boards::with({{2, 8, KIN}, {1, 7, OU}, {3, 7, OU}, {7, 5, KIN}, {6, 4, HU},
                                           {7, 4, HU}, {8, 4, HU}}), Square{7, 5}},
        {"a sole candidate", boards::with({{5, 5, HU}, {5, 4, HU}, {9, 9, OU}}), Square{5, 5}},
        {"nothing within reach", boards::with({{5, 5, HU}, {1, 1, KYOU}}), std::nullopt}};
    for (auto c : cases) {
        c.game.設定_将棋盤_駒();
        EXPECT_EQ(chooseComputerSquare(c.game), c.choice) << c.what;
    }
}

// The moving side's hand is the random games' to check; a move credited to neither player
// takes the pieces off the board into no hand at all.
TEST(PickUp, PiecesTakenForNeitherSideGoToNoHand) {
    Game game = boards::with({{5, 5, KAKU}, {2, 2, HU}, {1, 1, HU}, {7, 3, HU}});
    game.設定_消去駒(5, 5);
    game.takeMarkedPieces(SIDE_NONE);
    EXPECT_EQ(std::tie(game.ownHand, game.enemyHand), std::tuple(Hand{}, Hand{}));
    EXPECT_EQ(boards::census(game)[HU], 1);
}
