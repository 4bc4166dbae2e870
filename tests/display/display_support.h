#pragma once

#include <QImage>

#include "canvas.h"

// A canvas over a hand-filled game, and ways to look at its pixels.
namespace quolvet::testing {

inline constexpr QRgb green = 0xFF008000;
inline constexpr QRgb white = 0xFFFFFFFF;
inline constexpr QRgb magenta = 0xFFFF00FF;

inline QImage asset(const QString& name)
{
    return QImage(QStringLiteral(":/assets/%1.png").arg(name)).convertToFormat(QImage::Format_RGB32);
}

inline QRect cellRect(double column, double row) { return {geometry::gridToPixel(column, row), QSize(33, 41)}; }

// A cell without the top and left lines of its own outline (the neighbours' fall outside it),
// and the same part of a picture.
inline QImage cellInside(const QImage& image, double column, double row)
{
    return image.copy(cellRect(column, row).adjusted(1, 1, 0, 0));
}
inline QImage insideOf(const QString& pictureName) { return asset(pictureName).copy(1, 1, 32, 40); }

// The leftmost or rightmost column of `area` holding `colour`, or -1.
inline int edgeOf(const QImage& image, const QRect& area, QRgb colour, bool fromLeft)
{
    for (int i = 0; i < area.width(); ++i) {
        const int x = fromLeft ? area.left() + i : area.right() - i;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            if (image.pixel(x, y) == colour) return x;
        }
    }
    return -1;
}

// The bounding box of the pixels that differ between two images of one size.
inline QRect changedArea(const QImage& before, const QImage& after)
{
    QRect box;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y)) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

class CanvasTest : public ::testing::Test {
protected:
    Game game;
    Canvas canvas{game};
};

}  // namespace quolvet::testing
