#pragma once

#include "game.h"
#include "move_record.h"

namespace quolvet::playing {

// One whole move by the side to move, the way the main window makes it minus the drawing:
// mark, take into the mover's hand, re-sign, record, then end the game or pass the turn.
// The square must hold a piece that picks something up.
void playMove(Game& game, MoveRecord& record, Square square);

// A new game of `mode` on a fresh deal, 先手 to move, recorded as position 0.
void startGame(Game& game, MoveRecord& record, Dealer& dealer, int mode);

}  // namespace quolvet::playing
