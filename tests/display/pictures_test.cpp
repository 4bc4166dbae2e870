#include <gtest/gtest.h>

#include "display_support.h"

namespace quolvet::testing {
namespace {

using geometry::gridToPixel;
using Pictures = CanvasTest;

QString nameOf(int code)
{
    static const QString kinds[] = {"HU", "KYOU", "KEI", "GIN", "KIN", "KAKU", "SYA", "OU"};
    return code > 0 ? kinds[code - 1] + "_2" : code < 0 ? "SITA_" + kinds[-code - 1] : "KARA_MASU";
}

// Codes without a picture paint nothing rather than reading past the pictures.
TEST_F(Pictures, EveryBoardValueShowsItsOwnPictureInItsSquare)
{
    const QImage before = canvas.image().copy();
    for (const int code : {9, 16, -9, 99}) canvas.描画_絵(code, 3, 3);
    EXPECT_EQ(canvas.image(), before);

    for (int code = -8; code <= 8; ++code) game.board[(code + 8) / 9 + 1][(code + 8) % 9 + 1] = code;
    canvas.描画_盤();
    for (int code = -8; code <= 8; ++code) {
        EXPECT_EQ(cellInside(canvas.image(), (code + 8) / 9 + 1, (code + 8) % 9 + 1), insideOf(nameOf(code)))
            << "code " << code;
    }
}

TEST_F(Pictures, AnOutlineRunsOntoTheNeighboursFirstPixels)
{
    canvas.描画_桝輪郭(COLOR_LIGHT_MAGENTA, 3, 4);
    const QPoint from = gridToPixel(3, 4);
    const QPoint to = gridToPixel(4, 5);
    const QImage& image = canvas.image();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool side = ((x == from.x() || x == to.x()) && y >= from.y() && y <= to.y()) ||
                              ((y == from.y() || y == to.y()) && x >= from.x() && x <= to.x());
            ASSERT_EQ(image.pixel(x, y) == magenta, side) << x << "," << y;
        }
    }
    canvas.描画_桝輪郭(COLOR_WHITE, 4, 4);  // the later outline takes the shared side
    EXPECT_EQ(image.pixel(to.x(), from.y() + 10), white);
}

// A count starts in one place and grows to the right; an emptied cell is bare wood on plain
// background, and the board square its tile reached into gets its outline back.
TEST_F(Pictures, HandCountsFromTwelveDownToZero)
{
    canvas.描画_盤();
    const auto show = [&](int count) {
        game.enemyHand[KEI] = count;
        canvas.描画_敵持駒(KEI);
        return inkEdges(canvas.image(), cellRect(0, KEI), magenta);
    };
    const auto one = show(1);
    const auto twelve = show(12);
    EXPECT_EQ(twelve.first, one.first);
    EXPECT_GT(twelve.second, one.second + 3);
    EXPECT_EQ(cellInside(canvas.image(), -1, KEI), insideOf("KEI_2"));

    show(0);
    EXPECT_EQ(cellInside(canvas.image(), -1, KEI), insideOf("KARA_MASU"));
    EXPECT_EQ(canvas.image().copy(cellRect(0, KEI).adjusted(1, 0, 0, 0)), asset("HAIKEI").copy(1, 0, 32, 41));
    EXPECT_EQ(canvas.image().pixel(gridToPixel(1, KEI) + QPoint(0, 20)), green);
}

// Stepping back to a shorter counter wipes the longer one.
TEST_F(Pictures, TheMoveCounterGrowsToTheLeft)
{
    const QRect counterArea(gridToPixel(12, 3), gridToPixel(15, 4));
    const auto show = [&](int count) {
        canvas.描画_手数(count);
        return inkEdges(canvas.image(), counterArea, white);
    };
    const auto one = show(1);
    EXPECT_EQ(show(10).first, one.first - 3);
    EXPECT_EQ(show(1), one);
    EXPECT_EQ(show(100), std::pair(one.first - 6, one.second));
}

}  // namespace
}  // namespace quolvet::testing
