// Random games through the rules alone, every move checked against what a move may do: pieces
// only leave the board, into the mover's hand, keeping their kind, exactly the ones the chosen
// piece reaches; every sign is the one the position gives; and the game ends exactly when no
// piece reaches another, won by the last mover.
// The same test runs at two sizes: a few thousand games with the rule tests, a hundred
// thousand in the soak (QUOLVET_RANDOM_GAMES).

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <random>
#include <utility>
#include <vector>

#include "playing.h"

#ifndef QUOLVET_RANDOM_GAMES
#define QUOLVET_RANDOM_GAMES 3000
#endif

using namespace quolvet;

namespace {

// The pieces the piece on (x, y) reaches: a second, direct reading of the moves, walking each
// piece's few steps and rays (dx, dy; dy < 0 is toward row 1, forward for every piece) instead
// of asking the rules about all 81 squares.
std::vector<Square> reachedPieces(const Grid& board, int x, int y) {
    const auto onBoard = [](int i, int j) { return i >= 1 && i <= boardSize && j >= 1 && j <= boardSize; };
    const auto walk = [&](std::initializer_list<std::pair<int, int>> steps, bool slides) {
        std::vector<Square> found;
        for (const auto& [dx, dy] : steps) {
            int i = x + dx, j = y + dy;
            while (slides && onBoard(i, j) && board[i][j] == EMPTY) i += dx, j += dy;
            if (onBoard(i, j) && board[i][j] != EMPTY) found.push_back({i, j});
        }
        return found;
    };
    switch (std::abs(board[x][y])) {
        case HU: return walk({{0, -1}}, false);
        case KYOU: return walk({{0, -1}}, true);
        case KEI: return walk({{-1, -2}, {1, -2}}, false);
        case GIN: return walk({{-1, -1}, {0, -1}, {1, -1}, {-1, 1}, {1, 1}}, false);
        case KIN: return walk({{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {0, 1}}, false);
        case KAKU: return walk({{-1, -1}, {1, -1}, {-1, 1}, {1, 1}}, true);
        case SYA: return walk({{0, -1}, {0, 1}, {-1, 0}, {1, 0}}, true);
        case OU: return walk({{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}, false);
        default: return {};
    }
}

// A description of the first broken rule, or an empty string. The hands and the board together
// account for every piece, so none can appear or vanish unnoticed.
std::string brokenRule(Game before, const Game& after, Square choice) {
    const std::vector<Square> reached = reachedPieces(before.board, choice.x, choice.y);
    if (reached.empty()) return "the chosen piece reaches nothing";
    Hand& moversHand = before.sideToMove == before.ownSide ? before.ownHand : before.enemyHand;
    for (const Square s : reached) {
        ++moversHand[std::abs(before.board[s.x][s.y])];
        before.board[s.x][s.y] = EMPTY;
    }
    if (after.ownHand != before.ownHand || after.enemyHand != before.enemyHand)
        return "the hands are not the mover's hand plus what it reached";
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            const int is = after.board[x][y];
            if (std::abs(is) != std::abs(before.board[x][y])) return "a square other than the reached ones changed";
            if (is != EMPTY && (is < 0) == reachedPieces(after.board, x, y).empty())
                return "a sign differs from what the position gives";
        }
    }
    return {};
}

// Every last digit of the time, both modes and both sides for the person; each seed its own
// generator, and one Game and MoveRecord for all, as in a program that plays on and on.
void playRandomGame(unsigned seed, Game& game, MoveRecord& record) {
    const int mode = seed % 3 == 0 ? MODE_COM : MODE_HUMAN;
    const int person = mode == MODE_COM && seed % 2 == 1 ? SIDE_GOTE : SIDE_SENTE;
    Dealer dealer;
    const float t = static_cast<float>(10 * (seed % 8000) + seed % 10);
    dealer.timeOfDay = [t] { return t; };
    dealer.uniform = [engine = std::mt19937(seed)]() mutable { return engine() / 4294967296.0; };
    playing::startGame(game, record, dealer, mode, person);
    ASSERT_TRUE(game.ownHand == Hand{} && game.enemyHand == Hand{}) << "hands left from the game before";

    std::mt19937 chooser(seed);
    int lastMover = SIDE_NONE;
    // Every move takes a piece, so the board empties and the loop ends.
    for (;;) {
        std::vector<Square> active;
        for (int x = 1; x <= boardSize; ++x)
            for (int y = 1; y <= boardSize; ++y)
                if (game.board[x][y] < 0) active.push_back({x, y});
        ASSERT_EQ(game.gameOver == ON, active.empty()) << "the game must end exactly when no piece reaches another";
        if (game.gameOver == ON) break;
        const Game before = game;
        lastMover = game.sideToMove;
        Square choice = active[chooser() % active.size()];
        if (mode == MODE_COM && lastMover == game.enemySide) {
            const std::optional<Square> computer = playing::playComputerMove(game, record);
            ASSERT_TRUE(computer) << "the computer found no move";
            choice = *computer;
        } else {
            playing::playMove(game, record, choice);
        }
        ASSERT_EQ(brokenRule(before, game, choice), "") << "move " << game.moveNumber;
        ASSERT_EQ(game.moveNumber, before.moveNumber + 1);
    }
    EXPECT_EQ(game.winnerName, mode == MODE_HUMAN ? (lastMover == SIDE_SENTE ? "先手" : "後手")
                                         : (lastMover == person ? "あなた" : "ＣＯＭ"));
}

}  // namespace

TEST(RandomGames, EveryMoveAndTheEndFollowTheRules) {
    Game game;
    MoveRecord record;
    for (unsigned seed = 1; seed <= QUOLVET_RANDOM_GAMES; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        playRandomGame(seed, game, record);
        if (HasFailure()) return;
    }
}
