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

// The leftmost and rightmost columns of `area` holding `colour`, or -1.
inline std::pair<int, int> inkEdges(const QImage& image, const QRect& area, QRgb colour)
{
    std::pair edges{-1, -1};
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (image.pixel(x, y) == colour) edges = {edges.first < 0 ? x : edges.first, x};
    return edges;
}

class CanvasTest : public ::testing::Test {
protected:
    Game game;
    Canvas canvas{game};
};

}  // namespace quolvet::testing
