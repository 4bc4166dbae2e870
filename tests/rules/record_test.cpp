#include <gtest/gtest.h>

#include "boards.h"
#include "computer.h"
#include "playing.h"

using namespace quolvet;

namespace {

Dealer fixedDealer() {
    Dealer dealer;
    dealer.timeOfDay = [] { return 7.0f; };
    return dealer;
}

// A two-move game of two people: 先手's pawn takes a gold, then 後手's rook takes the
// last pawn within reach and wins.
struct ShortGame : testing::Test {
    Game game = boards::with({{3, 5, HU}, {3, 4, KIN}, {7, 7, SYA}, {7, 3, HU}});
    MoveRecord record;

    void SetUp() override {
        game.設定_将棋盤_駒();
        record.保存_現将棋盤(game, 0);
        playing::playMove(game, record, {3, 5});
        playing::playMove(game, record, {7, 7});
    }

    static std::vector<std::pair<int, int>> squaresOf(const MoveRecord::Changes& changes) {
        std::vector<std::pair<int, int>> squares;
        for (const Square& s : changes.squares) squares.push_back({s.x, s.y});
        return squares;
    }
};

}  // namespace

TEST(Record, ANewBoardIsPositionZeroWithEmptyHands) {
    Game game;
    MoveRecord record;
    Dealer dealer = fixedDealer();
    record.lastMoveNumber = 9;
    playing::startGame(game, record, dealer, MODE_HUMAN);
    EXPECT_EQ(game.moveNumber, 0);
    EXPECT_EQ(record.lastMoveNumber, 0);
    EXPECT_EQ(record.historyBoard[0], game.board);
    EXPECT_EQ(record.historyOwnHand[0], Hand{});
    EXPECT_EQ(record.historyEnemyHand[0], Hand{});
    EXPECT_FALSE(record.canStepBack(game));
    EXPECT_FALSE(record.canStepForward(game));
}

TEST(Record, AMoveAfterSteppingBackCutsTheLineOfPlay) {
    Game game;
    MoveRecord record;
    Dealer dealer = fixedDealer();
    playing::startGame(game, record, dealer, MODE_HUMAN);
    std::vector<Game> positions = {game};
    for (int i = 0; i < 3; ++i) {
        playing::playMove(game, record, *chooseComputerSquare(game));
        positions.push_back(game);
    }
    ASSERT_EQ(game.gameOver, OFF) << "the deal is meant to last longer than three moves";
    EXPECT_EQ(record.lastMoveNumber, 3);
    for (int n = 0; n <= 3; ++n) {
        EXPECT_EQ(record.historyBoard[n], positions[n].board) << n;
        EXPECT_EQ(record.historyOwnHand[n], positions[n].ownHand) << n;
        EXPECT_EQ(record.historyEnemyHand[n], positions[n].enemyHand) << n;
    }

    record.stepBack(game);
    record.stepBack(game);
    EXPECT_EQ(game.board, positions[1].board);
    EXPECT_EQ(game.sideToMove, SIDE_GOTE);
    const std::optional<Square> other = [&]() -> std::optional<Square> {
        for (int x = 9; x >= 1; --x)
            for (int y = 9; y >= 1; --y)
                if (game.board[x][y] != EMPTY && game.調査_消駒有無_座標(x, y) == ON)
                    return Square{x, y};
        return std::nullopt;
    }();
    ASSERT_TRUE(other);
    playing::playMove(game, record, *other);

    EXPECT_EQ(game.moveNumber, 2);
    EXPECT_EQ(record.lastMoveNumber, 2);
    EXPECT_NE(game.board, positions[2].board) << "a different second move was meant";
    EXPECT_EQ(record.historyBoard[2], game.board);
    EXPECT_EQ(record.historyEnemyHand[2], game.enemyHand);
    EXPECT_FALSE(record.canStepForward(game));
}

TEST_F(ShortGame, EndsWithTheSecondPlayerAsWinner) {
    EXPECT_EQ(game.gameOver, ON);
    EXPECT_EQ(game.winnerName, "後手");
    EXPECT_EQ(game.moveNumber, 2);
    EXPECT_EQ(game.ownHand[KIN], 1);
    EXPECT_EQ(game.enemyHand[HU], 1);
}

TEST_F(ShortGame, SteppingBackReopensTheGameWithTheRightSideToMove) {
    record.stepBack(game);
    EXPECT_EQ(game.gameOver, OFF);
    EXPECT_EQ(game.moveNumber, 1);
    EXPECT_EQ(game.sideToMove, SIDE_GOTE);
    EXPECT_EQ(game.board[7][3], HU) << "restored with the sign it had then";
    EXPECT_EQ(game.board[7][7], SYA_ACTIVE);

    record.stepBack(game);
    EXPECT_EQ(game.moveNumber, 0);
    EXPECT_EQ(game.sideToMove, SIDE_SENTE);
    EXPECT_EQ(game.ownHand, Hand{});
    EXPECT_EQ(game.enemyHand, Hand{});
    EXPECT_FALSE(record.canStepBack(game));
}

TEST_F(ShortGame, SteppingForwardToTheEndFinishesTheGameAgainSilently) {
    record.stepBack(game);
    record.stepBack(game);
    game.winnerName.clear();

    record.stepForward(game);
    EXPECT_EQ(game.gameOver, OFF);
    EXPECT_EQ(game.sideToMove, SIDE_GOTE);
    record.stepForward(game);
    EXPECT_EQ(game.gameOver, ON);
    EXPECT_EQ(game.winnerName, "") << "no announcement when stepping";
    EXPECT_EQ(game.sideToMove, SIDE_SENTE);
    EXPECT_FALSE(record.canStepForward(game));
}

TEST_F(ShortGame, AStepReportsExactlyTheSquaresAndHandKindsThatDiffer) {
    using Squares = std::vector<std::pair<int, int>>;
    using Kinds = std::array<bool, pieceKinds + 1>;
    MoveRecord::Changes back = record.stepBack(game);
    EXPECT_EQ(squaresOf(back), (Squares{{7, 3}, {7, 7}})) << "a returned piece and a re-signed one";
    EXPECT_EQ(back.enemyHand, (Kinds{false, true}));
    EXPECT_EQ(back.ownHand, Kinds{});

    back = record.stepBack(game);
    EXPECT_EQ(squaresOf(back), (Squares{{3, 4}, {3, 5}}));
    EXPECT_EQ(back.ownHand, (Kinds{false, false, false, false, false, true}));
    EXPECT_EQ(back.enemyHand, Kinds{});

    const MoveRecord::Changes forward = record.stepForward(game);
    EXPECT_EQ(squaresOf(forward), (Squares{{3, 4}, {3, 5}}));
    EXPECT_EQ(forward.ownHand, back.ownHand);
}
