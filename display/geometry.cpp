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

}  // namespace quolvet::geometry
