#include <gtest/gtest.h>

#include "geometry.h"

using namespace quolvet;
using namespace quolvet::geometry;

// Every cell is 33 × 41 pixels, and a press finds the cell whose picture was drawn under it,
// off the board too, where Int rounds down rather than toward zero.
TEST(Geometry, PressesLandInTheCellDrawnUnderThem)
{
    EXPECT_EQ(twipsToPixel(112.5), 8);  // halves up
    EXPECT_EQ(twipsToPixel(112.4), 7);
    EXPECT_EQ(twipsToPixel(-112.5), -7);
    EXPECT_EQ(gridToPixel(1, 1), QPoint(80, 48));
    for (int c = -2; c <= 20; ++c) {
        for (int r = -2; r <= 15; ++r) {
            const QPoint corner = gridToPixel(c, r);
            EXPECT_EQ(gridToPixel(c + 1, r + 1) - corner, QPoint(33, 41));
            EXPECT_EQ(cellAtPixel(corner), (Square{c, r})) << c << "," << r;
            EXPECT_EQ(cellAtPixel(corner - QPoint(1, 1)), (Square{c - 1, r - 1})) << c << "," << r;
        }
    }
}
