#include "computer.h"

namespace quolvet {

int 盤評価(const Game& game, int x, int y) { return 1 + game.調査_消駒数(x, y); }

std::optional<Square> chooseComputerSquare(const Game& game) {
    int bestScore = -99999;
    std::optional<Square> best;
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            if (game.board[x][y] == EMPTY || game.調査_消駒有無_座標(x, y) != ON) continue;
            const int score = 盤評価(game, x, y);
            if (score > bestScore) {
                bestScore = score;
                best = Square{x, y};
            }
        }
    }
    return best;
}

}  // namespace quolvet
