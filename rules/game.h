#pragma once

#include <string>

#include "deal.h"
#include "pieces.h"

namespace quolvet {

// The whole rule state of one running program: board, hands, sides, flags.
// Every query answers ON or OFF and scans columns 1..9 outside, rows 1..9 inside,
// which fixes every tie-break that depends on scan order.
struct Game {
    Grid board{};
    Grid removeMark{};  // squares the move in progress will pick up
    Hand ownHand{};     // lower player's hand, side ownSide
    Hand enemyHand{};   // upper player's hand, side enemySide

    int sideToMove = SIDE_NONE;
    int ownSide = SIDE_NONE;
    int enemySide = SIDE_NONE;
    int gameMode = MODE_HUMAN;
    int moveNumber = 0;
    int gameOver = OFF;
    std::string winnerName;

    // Could a piece of `code`'s kind on (x1, y1) move to (x2, y2)? Forward is toward
    // row 1 for every piece and both players; sliding pieces stop at the first piece.
    int 移動チェック(int x1, int y1, int x2, int y2, int code) const;
    int 移動チェック角(int x1, int y1, int x2, int y2) const;
    int 移動チェック飛車(int x1, int y1, int x2, int y2) const;

    int 調査_消駒有無_座標(int x, int y) const;  // does the piece on (x, y) attack anything?
    int 調査_消駒有無() const;                   // does any piece attack anything?
    int 調査_消駒数(int x, int y) const;         // how many pieces does it attack?
    void 設定_消去駒(int x, int y);              // mark its pick-up set in removeMark
    void 駒_取得(int side, int code);            // one more piece of code's kind in side's hand

    // The board side of a pick-up: every marked square goes empty into side's hand.
    // removeMark is left as it was, so a caller can still see which squares went.
    void takeMarkedPieces(int side);

    void 設定_将棋盤(Dealer& dealer);  // deal 81 random active pieces
    void 設定_将棋盤_駒();             // give every piece its active or idle sign

    // Back to a freshly dealt board: counters, flags and hands cleared, the board dealt
    // and signed. Sides and mode stay as they were.
    void newBoard(Dealer& dealer);

    // The name announced when the player of `moverSide` made the game's last move.
    std::string moverName(int moverSide) const;

private:
    bool attacks(int x, int y, int i, int j) const;
};

// The side that makes move n: odd moves are 先手's, even ones (and 0) 後手's.
int 手番_取得(int n);

}  // namespace quolvet
