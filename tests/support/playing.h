#pragma once

#include <optional>

#include "game.h"
#include "move_record.h"

namespace quolvet::playing {

// One whole move by the side to move, the way the main window makes it minus the drawing:
// mark, take into the mover's hand, re-sign, record, then end the game or pass the turn.
// The square must hold a piece that picks something up.
void playMove(Game& game, MoveRecord& record, Square square);

// The computer's whole move for the side to move. Unlike a person's move, the turn passes
// before the end test, so a winning reply leaves the person to move in a finished game.
// Nothing happens, and nothing is returned, when no piece can pick anything up.
std::optional<Square> playComputerMove(Game& game, MoveRecord& record);

// A new game of `mode` on a fresh deal, 先手 to move, recorded as position 0. In a game
// against the computer `ownSide` is the person's side; the computer plays the other one.
void startGame(Game& game, MoveRecord& record, Dealer& dealer, int mode,
               int ownSide = SIDE_SENTE);

}  // namespace quolvet::playing
