#pragma once

#include <initializer_list>

#include "game.h"

// Hand-made positions for the rule tests: a board is written as the pieces on it.
namespace quolvet::boards {

struct Placed {
    int x;
    int y;
    int kind;
};

// A game of two people, 先手 to move, whose 81 squares all hold `fill` (EMPTY for an open
// board) with `pieces` placed over it; codes are taken as written, no signs given.
Game with(std::initializer_list<Placed> pieces, int fill = EMPTY);

// Pieces of each kind, board and both hands together.
Hand census(const Game& game);

}  // namespace quolvet::boards
