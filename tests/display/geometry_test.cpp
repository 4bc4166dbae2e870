#include <gtest/gtest.h>

#include "geometry.h"

namespace quolvet::geometry {
namespace {

TEST(Geometry, TwipsRoundToTheNearestPixelWithHalvesUp)
{
    EXPECT_EQ(twipsToPixel(112.5), 8);
    EXPECT_EQ(twipsToPixel(112.4), 7);
    EXPECT_EQ(twipsToPixel(-112.5), -7);
    EXPECT_EQ(gridToPixel(1, 1), QPoint(80, 48));     // the board's top-left square
    EXPECT_EQ(gridToPixel(11.5, 0), QPoint(426, 7));  // the title plate, X 6392.5 twips
}

TEST(Geometry, TheBoardBeginsAtElevenHundredNinetyFiveTwips)
{
    EXPECT_EQ(cellAtTwips(1194, 715), (Square{0, 1}));
    EXPECT_EQ(cellAtTwips(1195, 715), (Square{1, 1}));
    EXPECT_EQ(cellAtTwips(699, 99), (Square{-1, -1}));  // Int rounds down, not toward zero
}

// Every cell is 33 × 41 pixels, and a press finds the cell whose picture was drawn under it.
TEST(Geometry, PressesLandInTheCellDrawnUnderThem)
{
    for (int c = -2; c <= 20; ++c) {
        for (int r = -2; r <= 15; ++r) {
            const QPoint corner = gridToPixel(c, r);
            EXPECT_EQ(gridToPixel(c + 1, r + 1) - corner, QPoint(33, 41));
            EXPECT_EQ(cellAtPixel(corner), (Square{c, r})) << c << "," << r;
            EXPECT_EQ(cellAtPixel(corner - QPoint(1, 1)), (Square{c - 1, r - 1})) << c << "," << r;
        }
    }
}

}  // namespace
}  // namespace quolvet::geometry
