#pragma once

#include <initializer_list>
#include <set>
#include <utility>

#include "game.h"

// Hand-made positions for the rule tests: a board is written as the pieces on it.
namespace quolvet::boards {

struct Placed {
    int x;
    int y;
    int kind;
};

using Squares = std::set<std::pair<int, int>>;

// A game with a board holding only `pieces` (idle codes), sides as in a game of two people.
Game with(std::initializer_list<Placed> pieces);
// A game whose 81 squares all hold `kind`, with `pieces` placed over it.
Game full(int kind, std::initializer_list<Placed> pieces = {});

// Every square, including the off-board ring 0 and 10, that the piece on (x, y) reaches.
Squares reach(const Game& game, int x, int y);
// The squares whose pieces the piece on (x, y) would pick up, as 設定_消去駒 marks them.
Squares pickUpSet(Game game, int x, int y);

// Pieces of each kind, board and both hands together.
Hand census(const Game& game);

}  // namespace quolvet::boards
