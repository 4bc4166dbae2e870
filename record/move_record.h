#pragma once

#include <vector>

#include "game.h"

namespace quolvet {

// Every position of the current line of play, board and both hands, by move number.
// Stepping copies a snapshot back; nothing is replayed or undone.
class MoveRecord {
public:
    static constexpr int capacity = 501;  // positions 0..500; a game has at most 80 moves

    MoveRecord();

    int lastMoveNumber = 0;
    std::vector<Grid> historyBoard;
    std::vector<Hand> historyEnemyHand;
    std::vector<Hand> historyOwnHand;

    void 保存_現将棋盤(const Game& game, int n);  // store the position under index n
    void 手順保存(Game& game);                     // count the move just made and store it

    // What a step changed, in the order the screen should be brought up to date.
    struct Changes {
        std::vector<Square> squares;  // column 1..9 outside, row 1..9 inside
        std::array<bool, pieceKinds + 1> enemyHand{};
        std::array<bool, pieceKinds + 1> ownHand{};
    };

    bool canStepBack(const Game& game) const { return game.moveNumber >= 1; }
    bool canStepForward(const Game& game) const { return game.moveNumber < lastMoveNumber; }

    // One move back: the game is open again and the side of the next move is to play.
    Changes stepBack(Game& game) const;
    // One move forward: a position with nothing left to pick up is over again.
    Changes stepForward(Game& game) const;

private:
    Changes restore(Game& game) const;
};

}  // namespace quolvet
