#include <cstdlib>

#include "game.h"

namespace quolvet {

bool Game::attacks(int x, int y, int i, int j) const {
    return board[i][j] != EMPTY && 移動チェック(x, y, i, j, board[x][y]) == ON;
}

int Game::調査_消駒有無_座標(int x, int y) const {
    for (int i = 1; i <= boardSize; ++i) {
        for (int j = 1; j <= boardSize; ++j) {
            if (attacks(x, y, i, j)) return ON;
        }
    }
    return OFF;
}

int Game::調査_消駒有無() const {
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            if (board[x][y] != EMPTY && 調査_消駒有無_座標(x, y) == ON) return ON;
        }
    }
    return OFF;
}

int Game::調査_消駒数(int x, int y) const {
    int count = 0;
    for (int i = 1; i <= boardSize; ++i) {
        for (int j = 1; j <= boardSize; ++j) {
            if (attacks(x, y, i, j)) ++count;
        }
    }
    return count;
}

void Game::設定_消去駒(int x, int y) {
    for (int i = 1; i <= boardSize; ++i) {
        for (int j = 1; j <= boardSize; ++j) {
            removeMark[i][j] = attacks(x, y, i, j) ? ON : OFF;
        }
    }
}

void Game::駒_取得(int side, int code) {
    if (side == ownSide) {
        ++ownHand[std::abs(code)];
    } else if (side == enemySide) {
        ++enemyHand[std::abs(code)];
    }
}

void Game::takeMarkedPieces(int side) {
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            if (removeMark[x][y] != ON) continue;
            駒_取得(side, board[x][y]);
            board[x][y] = EMPTY;
        }
    }
}

}  // namespace quolvet
