#pragma once

#include <QColor>

namespace quolvet {

// Indices of the standard 16-colour palette.
inline constexpr int COLOR_BLACK = 0;
inline constexpr int COLOR_GREEN = 2;
inline constexpr int COLOR_LIGHT_MAGENTA = 13;
inline constexpr int COLOR_WHITE = 15;
inline constexpr int backgroundColor = COLOR_GREEN;  // window, and the resting outline of a cell
inline constexpr int gridColor = backgroundColor;    // outline that takes highlights away

// The RGB of palette entry 0..15.
QColor qbColor(int index);

// Picture codes besides the piece codes ±1..±8.
inline constexpr int PIC_EMPTY = 0;
inline constexpr int PIC_TITLE = 10;
inline constexpr int PIC_BACKGROUND = 11;
inline constexpr int PIC_BURST_LARGE = 12;
inline constexpr int PIC_BURST_SMALL = 13;
inline constexpr int PIC_PIECE_SMALL = 14;
inline constexpr int PIC_PIECE_MEDIUM = 15;

}  // namespace quolvet
