#pragma once

#include <QString>

#include "game.h"

// The board in words, as a player says it aloud: what a screen reader reads for each square,
// each hand, the counter and the turn, and the sentence that tells a move.
namespace quolvet::words {

// The square's name as shogi players say it, column digit first: (5, 3) is "５三".
QString square(Square square);
// The square with what stands there: "５三 金 拾える", "５三 金", "５三 空き".
QString squareContents(const Game& game, Square square);
// "後手の持ち駒 歩 3 金 1", or "… なし".
QString hand(const Game& game, bool upper);
QString counter(const Game& game);
// Whose turn it is, who won, or that no game runs.
QString turn(const Game& game);

// One move as it was made. `kind` is the chosen piece's kind, `picked` how many it took.
struct Move {
    Square square;
    int kind = 0;
    int picked = 0;
    int mover = SIDE_NONE;
};
// "先手 ５三 金 3枚拾いました 後手の番です", or "… 先手の勝ち" when nothing is left to pick up.
QString move(const Game& game, const Move& move);

}  // namespace quolvet::words
