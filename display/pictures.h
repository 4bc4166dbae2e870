#pragma once

#include <QImage>

// The bitmaps the window paints from, drawn at 1×, 1.5×, 2× and 3× and linked into the program
// as plain pixels (packed_pictures.h).
namespace quolvet {

// The bitmap a picture code paints on a screen of `ratio` device pixels to a pixel. At 1, 1.5,
// 2 and 3 it is the drawing made for that scale, as it lies in the program; at any other ratio
// the drawing of the nearest of them (the larger of two as near) resized to it. It covers the
// picture's cells there, rounded up to whole device pixels; its device pixel ratio is left at
// 1. A null image for a code without a picture (9, and anything outside −8..8 and 10..15).
QImage loadPicture(int code, double ratio = 1);

// The turn icons, drawn over the board, never painted into it; likewise.
enum class TurnIcon { man, com };
QImage loadIcon(TurnIcon icon, double ratio);

}  // namespace quolvet
