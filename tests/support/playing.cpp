#include "playing.h"

namespace quolvet::playing {

void playMove(Game& game, MoveRecord& record, Square square) {
    const int mover = game.sideToMove;
    game.設定_消去駒(square.x, square.y);
    game.takeMarkedPieces(mover);
    game.設定_将棋盤_駒();
    record.手順保存(game);
    if (game.調査_消駒有無() == OFF) {
        game.winnerName = game.moverName(mover);
        game.gameOver = ON;
        return;
    }
    game.sideToMove = -mover;
}

void startGame(Game& game, MoveRecord& record, Dealer& dealer, int mode) {
    game.newBoard(dealer);
    record.lastMoveNumber = 0;
    record.保存_現将棋盤(game, 0);
    game.gameMode = mode;
    game.ownSide = SIDE_SENTE;
    game.enemySide = SIDE_GOTE;
    game.sideToMove = SIDE_SENTE;
}

}  // namespace quolvet::playing
