#pragma once

#include <optional>

#include "game.h"

namespace quolvet {

// The computer's score for the piece on (x, y): 1 + the number of pieces it would pick up.
int 盤評価(const Game& game, int x, int y);

// The computer's greedy choice: the piece that picks up the most, the first in scan order
// (column 1..9, row 1..9) on a tie. Nothing when no piece can pick anything up.
std::optional<Square> chooseComputerSquare(const Game& game);

}  // namespace quolvet
