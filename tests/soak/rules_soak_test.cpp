// A hundred thousand random games through the rules alone, every move checked against what a
// move may do: pieces only leave the board, into a hand, keeping their kind, and every sign is
// the one the position gives.

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <random>
#include <vector>

#include "boards.h"
#include "playing.h"

using namespace quolvet;

namespace {

constexpr int gameCount = 100000;
constexpr int longestGame = 80;

std::vector<Square> movablePieces(const Game& game) {
    std::vector<Square> squares;
    for (int x = 1; x <= boardSize; ++x)
        for (int y = 1; y <= boardSize; ++y)
            if (game.board[x][y] < 0) squares.push_back({x, y});
    return squares;
}

struct Step {
    int dx;
    int dy;  // negative is toward row 1, forward for every piece
};

bool holdsPiece(const Grid& board, int x, int y) {
    return x >= 1 && x <= boardSize && y >= 1 && y <= boardSize && board[x][y] != EMPTY;
}

bool reachesByStep(const Grid& board, int x, int y, std::initializer_list<Step> steps) {
    for (const Step s : steps)
        if (holdsPiece(board, x + s.dx, y + s.dy)) return true;
    return false;
}

bool reachesByRay(const Grid& board, int x, int y, std::initializer_list<Step> rays) {
    for (const Step r : rays) {
        for (int i = x + r.dx, j = y + r.dy; i >= 1 && i <= boardSize && j >= 1 && j <= boardSize; i += r.dx, j += r.dy)
            if (board[i][j] != EMPTY) return true;
    }
    return false;
}

// Whether the piece on (x, y) reaches another piece: a second, direct reading of the moves,
// walking each piece's few steps and rays instead of asking about all 81 squares.
bool reachesAPiece(const Grid& board, int x, int y) {
    switch (std::abs(board[x][y])) {
        case HU: return reachesByStep(board, x, y, {{0, -1}});
        case KYOU: return reachesByRay(board, x, y, {{0, -1}});
        case KEI: return reachesByStep(board, x, y, {{-1, -2}, {1, -2}});
        case GIN: return reachesByStep(board, x, y, {{-1, -1}, {0, -1}, {1, -1}, {-1, 1}, {1, 1}});
        case KIN: return reachesByStep(board, x, y, {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {0, 1}});
        case KAKU: return reachesByRay(board, x, y, {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}});
        case SYA: return reachesByRay(board, x, y, {{0, -1}, {0, 1}, {-1, 0}, {1, 0}});
        case OU:
            return reachesByStep(board, x, y, {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}});
        default: return false;
    }
}

// Returns a description of the first broken rule, or an empty string.
std::string brokenRule(const Game& before, const Game& after, const Hand& dealt) {
    if (boards::census(after) != dealt) return "pieces appeared or vanished";
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            const int is = after.board[x][y];
            if (is == EMPTY) continue;
            if (before.board[x][y] == EMPTY) return "a piece appeared on an empty square";
            if (std::abs(is) != std::abs(before.board[x][y])) return "a piece changed its kind";
            if ((is < 0) != reachesAPiece(after.board, x, y)) return "a sign differs from what the position gives";
        }
    }
    return {};
}

}  // namespace

TEST(RulesSoak, RandomGamesKeepEveryPieceAndEndWithOneWinner) {
    std::mt19937 rng(20261206);
    Dealer dealer;
    dealer.timeOfDay = [&rng] { return static_cast<float>(std::uniform_int_distribution<int>(0, 86399)(rng)); };
    dealer.uniform = [&rng] { return std::uniform_real_distribution<double>(0, 1)(rng); };
    Game game;
    MoveRecord record;

    for (int n = 0; n < gameCount; ++n) {
        const int mode = n % 3 == 0 ? MODE_HUMAN : MODE_COM;
        const int ownSide = n % 3 == 2 ? SIDE_GOTE : SIDE_SENTE;
        playing::startGame(game, record, dealer, mode, ownSide);
        const Hand dealt = boards::census(game);
        int lastMover = SIDE_NONE;
        while (game.gameOver == OFF) {
            ASSERT_LT(game.moveNumber, longestGame) << "game " << n << " runs too long";
            const Game before = game;
            lastMover = game.sideToMove;
            if (mode == MODE_COM && game.sideToMove == game.enemySide) {
                ASSERT_TRUE(playing::playComputerMove(game, record)) << "game " << n;
            } else {
                const std::vector<Square> pieces = movablePieces(game);
                ASSERT_FALSE(pieces.empty()) << "game " << n << ": a running game with no move";
                playing::playMove(game, record, pieces[std::uniform_int_distribution<size_t>(0, pieces.size() - 1)(rng)]);
            }
            const std::string broken = brokenRule(before, game, dealt);
            ASSERT_EQ(broken, "") << "game " << n << ", move " << game.moveNumber;
        }
        ASSERT_EQ(game.調査_消駒有無(), OFF) << "game " << n;
        ASSERT_EQ(game.winnerName, game.moverName(lastMover)) << "game " << n;
        ASSERT_FALSE(game.winnerName.empty()) << "game " << n;
    }
}
