#include "geometry.h"

#include <cmath>

namespace quolvet::geometry {

int twipsToPixel(double twips) { return static_cast<int>(std::floor(twips / twipsPerPixel + 0.5)); }

QPoint twipsToPixel(double x, double y) { return {twipsToPixel(x), twipsToPixel(y)}; }

QPoint gridToPixel(double column, double row)
{
    return twipsToPixel(boardLeft + column * squareWidth, boardTop + row * squareHeight);
}

Square cellAtTwips(double x, double y)
{
    return {static_cast<int>(std::floor((x - boardLeft) / squareWidth)),
            static_cast<int>(std::floor((y - boardTop) / squareHeight))};
}

Square cellAtPixel(QPoint pixel) { return cellAtTwips(pixelToTwips(pixel.x()), pixelToTwips(pixel.y())); }

namespace {

// Ratios such as 1.1 are not exact in binary; a product a hair above a whole number is taken
// as that number, on both ways, so they stay each other's inverse.
constexpr double slack = 1e-6;

int deviceToPixel(int device, double ratio) { return static_cast<int>(std::floor((device + slack) / ratio)); }

}  // namespace

int toDevice(int pixel, double ratio) { return static_cast<int>(std::ceil(pixel * ratio - slack)); }

QRect toDevice(const QRect& pixels, double ratio)
{
    const QPoint from(toDevice(pixels.left(), ratio), toDevice(pixels.top(), ratio));
    const QPoint to(toDevice(pixels.left() + pixels.width(), ratio), toDevice(pixels.top() + pixels.height(), ratio));
    return {from, QSize(to.x() - from.x(), to.y() - from.y())};
}

QPoint pixelAtPosition(QPointF position, double ratio)
{
    const int x = static_cast<int>(std::floor(position.x() * ratio + slack));
    const int y = static_cast<int>(std::floor(position.y() * ratio + slack));
    return {deviceToPixel(x, ratio), deviceToPixel(y, ratio)};
}

}  // namespace quolvet::geometry
