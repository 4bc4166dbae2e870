#include "boards.h"

#include <cstdlib>

namespace quolvet::boards {

Game with(std::initializer_list<Placed> pieces, int fill) {
    Game game;
    game.ownSide = game.sideToMove = SIDE_SENTE;
    game.enemySide = SIDE_GOTE;
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) game.board[x][y] = fill;
    }
    for (const Placed& p : pieces) game.board[p.x][p.y] = p.kind;
    return game;
}

Hand census(const Game& game) {
    Hand count{};
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) ++count[std::abs(game.board[x][y])];
    }
    count[EMPTY] = 0;
    for (int k = 1; k <= pieceKinds; ++k) count[k] += game.ownHand[k] + game.enemyHand[k];
    return count;
}

}  // namespace quolvet::boards
