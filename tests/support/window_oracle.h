#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QImage>
#include <QPoint>

#include "game.h"

// What the window must show for a game state, worked out afresh from the layout rules and the
// picture files themselves, sharing no drawing code with the game, so that a fault in the
// game's drawing cannot hide by being repeated here.
namespace quolvet::oracle {

// The whole drawing area at scale 1 as a freshly opened window would paint it for `game`:
// background, labels, both hands with their counts, the board, the move counter, the title.
QImage expectedWindow(const Game& game);

// The named parts of the window ("square 5,3", "upper hand 2", "lower count 4", "counter",
// "labels", "title", "background") in which `shown` differs from `expected`, each once.
std::vector<std::string> differences(const QImage& shown, const QImage& expected);

// The name of the cell picture (a piece, KARA_MASU, or a frame of the pick-up: KOMA_CYU,
// KOMA_SYO, PA1, PA2) that the cell with its top-left pixel at `topLeft` shows, or "".
std::string pictureShownAt(const QImage& screen, QPoint topLeft);

// The board code (−8..8) whose picture the square with its top-left pixel at `topLeft` of
// `screen` shows, its outline row and column aside; none when no picture matches.
std::optional<int> pieceShownAt(const QImage& screen, QPoint topLeft);

// Where the top-left pixel of grid cell (column, row) lies.
QPoint cellCorner(double column, double row);

}  // namespace quolvet::oracle
