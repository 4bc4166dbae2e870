#include "playing.h"

#include "computer.h"

namespace quolvet::playing {
namespace {

void pickUpAndRecord(Game& game, MoveRecord& record, Square square, int mover) {
    game.設定_消去駒(square.x, square.y);
    game.takeMarkedPieces(mover);
    game.設定_将棋盤_駒();
    record.手順保存(game);
}

void declareWinner(Game& game, int mover) {
    game.winnerName = game.moverName(mover);
    game.gameOver = ON;
}

}  // namespace

void playMove(Game& game, MoveRecord& record, Square square) {
    const int mover = game.sideToMove;
    pickUpAndRecord(game, record, square, mover);
    if (game.調査_消駒有無() == OFF) return declareWinner(game, mover);
    game.sideToMove = -mover;
}

std::optional<Square> playComputerMove(Game& game, MoveRecord& record) {
    const std::optional<Square> choice = chooseComputerSquare(game);
    if (!choice) return std::nullopt;
    const int mover = game.sideToMove;
    pickUpAndRecord(game, record, *choice, mover);
    game.sideToMove = -mover;
    if (game.調査_消駒有無() == OFF) declareWinner(game, mover);
    return choice;
}

void startGame(Game& game, MoveRecord& record, Dealer& dealer, int mode, int ownSide) {
    game.newBoard(dealer);
    record.lastMoveNumber = 0;
    record.保存_現将棋盤(game, 0);
    game.gameMode = mode;
    game.ownSide = ownSide;
    game.enemySide = -ownSide;
    game.sideToMove = SIDE_SENTE;
}

}  // namespace quolvet::playing
