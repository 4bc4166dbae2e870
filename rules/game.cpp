#include "game.h"

#include <cstdlib>

namespace quolvet {

void Game::設定_将棋盤(Dealer& dealer) {
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            const double r = dealer.uniform();
            const int d = timeDigit(dealer.timeOfDay());
            const int m = static_cast<int>(r * 9 + 1);
            board[x][y] = activeCodeForDigit(d * m % 10);
        }
    }
}

void Game::設定_将棋盤_駒() {
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            if (board[x][y] == EMPTY) continue;
            const int kind = std::abs(board[x][y]);
            board[x][y] = 調査_消駒有無_座標(x, y) == ON ? -kind : kind;
        }
    }
}

void Game::newBoard(Dealer& dealer) {
    moveNumber = 0;
    sideToMove = SIDE_NONE;
    gameOver = OFF;
    for (int k = 1; k <= pieceKinds; ++k) {
        enemyHand[k] = 0;
        ownHand[k] = 0;
    }
    設定_将棋盤(dealer);
    設定_将棋盤_駒();
}

std::string Game::moverName(int moverSide) const {
    if (gameMode == MODE_COM) return moverSide == ownSide ? "あなた" : "ＣＯＭ";
    return moverSide == enemySide ? "後手" : "先手";
}

int 手番_取得(int n) { return n % 2 == 0 ? SIDE_GOTE : SIDE_SENTE; }

}  // namespace quolvet
