#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>

#include "pieces.h"

// Where things are on the window. Positions are grid positions (column, row), real numbers,
// turned into twips by the board geometry and into pixels at 15 twips to a pixel.
namespace quolvet::geometry {

inline constexpr double twipsPerPixel = 15;
inline constexpr double boardLeft = 700;     // X of grid column 0, twips
inline constexpr double boardTop = 100;      // Y of grid row 0, twips
inline constexpr double squareWidth = 495;   // 33 pixels
inline constexpr double squareHeight = 615;  // 41 pixels

// The one rounding rule: twips to the nearest pixel, halves up. Clicks map back through
// pixelToTwips, so a press lands in the cell whose pixels were drawn there.
int twipsToPixel(double twips);
inline double pixelToTwips(int pixel) { return pixel * twipsPerPixel; }

QPoint gridToPixel(double column, double row);
QPoint twipsToPixel(double x, double y);

// The grid cell under a window point (Int rounds toward minus infinity), given in twips or
// in pixels; a pixel is taken at its twips value, so it lands in the cell drawn over it.
Square cellAtTwips(double x, double y);
Square cellAtPixel(QPoint pixel);

// On a screen of `ratio` device pixels to a pixel, pixel p starts at device pixel
// ceil(p × ratio): every pixel boundary falls on one device pixel boundary, so cells and their
// one-pixel outlines meet without seams or gaps at any ratio, and a pixel covers one or two
// device pixels at 1.5. At ratio 1 nothing moves.
int toDevice(int pixel, double ratio);
QRect toDevice(const QRect& pixels, double ratio);

// The pixel drawn under a pointer at `position`, which is given in pixels and is fractional
// on a scaled screen: the pointer's device pixel, taken back to the pixel that covers it.
// (Qt 6.4 on X11 rounds positions to whole pixels: there a press on the device pixel next to a
// cell's edge may land on either side of it, at 2 as much as at 1.5.)
QPoint pixelAtPosition(QPointF position, double ratio);

}  // namespace quolvet::geometry
