#include "move_record.h"

namespace quolvet {

MoveRecord::MoveRecord()
    : historyBoard(capacity), historyEnemyHand(capacity), historyOwnHand(capacity) {}

void MoveRecord::保存_現将棋盤(const Game& game, int n) {
    if (n < 0 || n >= capacity) return;
    for (int k = 1; k <= pieceKinds; ++k) {
        historyEnemyHand[n][k] = game.enemyHand[k];
        historyOwnHand[n][k] = game.ownHand[k];
    }
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) historyBoard[n][x][y] = game.board[x][y];
    }
}

void MoveRecord::手順保存(Game& game) {
    ++game.moveNumber;
    lastMoveNumber = game.moveNumber;
    保存_現将棋盤(game, game.moveNumber);
}

MoveRecord::Changes MoveRecord::stepBack(Game& game) const {
    game.gameOver = OFF;
    --game.moveNumber;
    game.sideToMove = 手番_取得(game.moveNumber + 1);
    return restore(game);
}

MoveRecord::Changes MoveRecord::stepForward(Game& game) const {
    ++game.moveNumber;
    game.sideToMove = 手番_取得(game.moveNumber + 1);
    Changes changes = restore(game);
    if (game.調査_消駒有無() == OFF) game.gameOver = ON;
    return changes;
}

MoveRecord::Changes MoveRecord::restore(Game& game) const {
    const int n = game.moveNumber;
    Changes changes;
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            if (historyBoard[n][x][y] == game.board[x][y]) continue;
            game.board[x][y] = historyBoard[n][x][y];
            changes.squares.push_back({x, y});
        }
    }
    for (int k = 1; k <= pieceKinds; ++k) {
        changes.enemyHand[k] = historyEnemyHand[n][k] != game.enemyHand[k];
        changes.ownHand[k] = historyOwnHand[n][k] != game.ownHand[k];
        game.enemyHand[k] = historyEnemyHand[n][k];
        game.ownHand[k] = historyOwnHand[n][k];
    }
    return changes;
}

}  // namespace quolvet
