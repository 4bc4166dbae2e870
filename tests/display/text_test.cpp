#include <QFontInfo>

#include <gtest/gtest.h>

#include "display_support.h"
#include "text.h"

namespace quolvet::testing {
namespace {

using geometry::gridToPixel;
using Texts = CanvasTest;

TEST(PrintedText, NumbersCaptionsAndFonts)
{
    EXPECT_EQ(printedNumber(0, 0), " 0 ");
    EXPECT_EQ(printedNumber(12, 0), " 12 ");
    EXPECT_EQ(printedNumber(9, 1), "九");
    EXPECT_EQ(printedNumber(10, 1), "");
    EXPECT_EQ(caption(99), "手目");
    EXPECT_EQ(textFont(16, false).pixelSize(), 21);  // points at 96 dots per inch
    EXPECT_TRUE(QFontInfo(textFont(12, true)).family().contains("Mincho")) << "fonts-ipafont-mincho missing?";
}

TEST_F(Texts, TextHangsDownAndRightFromItsPrintPositionAndNothingLeavesNoTrace)
{
    QImage before = canvas.image().copy();
    canvas.描画_数値(2, 2, 0, COLOR_WHITE, 1, 16);
    canvas.描画_文字列(2, 2, 98, COLOR_WHITE, 10);
    EXPECT_EQ(canvas.image(), before);

    canvas.描画_数値(2, 2, 0, COLOR_WHITE, 0, 16);
    QRect ink = changedArea(before, canvas.image());
    EXPECT_GE(ink.left(), gridToPixel(2, 2).x() + 3);  // the blank in the sign's place comes first
    EXPECT_GE(ink.top(), gridToPixel(2, 2).y());
    EXPECT_LT(ink.top(), gridToPixel(2, 2).y() + 10);

    before = canvas.image().copy();
    canvas.描画_文字列(5, 5, 99, COLOR_WHITE, 10);
    const QPoint corner = geometry::twipsToPixel(700 + 5 * 495 + 120, 100 + 5 * 615 + 160);
    ink = changedArea(before, canvas.image());
    EXPECT_GE(ink.topLeft().x(), corner.x());
    EXPECT_GE(ink.topLeft().y(), corner.y());
    EXPECT_LT((ink.topLeft() - corner).manhattanLength(), 10);
}

TEST_F(Texts, AHandCountStartsInOnePlaceAndGrowsToTheRight)
{
    const auto inkFor = [&](int count) {
        game.enemyHand[GIN] = count;
        canvas.描画_敵持駒(GIN);
        return std::pair(edgeOf(canvas.image(), cellRect(0, GIN), magenta, true),
                         edgeOf(canvas.image(), cellRect(0, GIN), magenta, false));
    };
    const auto one = inkFor(1);
    const auto two = inkFor(2);
    const auto twelve = inkFor(12);
    EXPECT_EQ(twelve.first, one.first);
    EXPECT_GT(twelve.second, two.second + 3);
}

TEST_F(Texts, TheMoveCounterMovesLeftAsItGrowsAndItsCaptionStays)
{
    const QRect counterArea(gridToPixel(12, 3), gridToPixel(15, 4));
    const auto inkFor = [&](int count) {
        canvas.描画_手数(count);
        return std::pair(edgeOf(canvas.image(), counterArea, white, true), edgeOf(canvas.image(), counterArea, white, false));
    };
    const auto one = inkFor(1);
    const auto ten = inkFor(10);
    const auto oneAgain = inkFor(1);  // stepping back: the longer counter is wiped
    const auto hundred = inkFor(100);
    EXPECT_EQ(ten.first, one.first - 3);
    EXPECT_EQ(oneAgain.first, one.first);
    EXPECT_EQ(hundred.first, one.first - 6);
    EXPECT_EQ(hundred.second, one.second);
}

}  // namespace
}  // namespace quolvet::testing
