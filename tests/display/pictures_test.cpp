#include <gtest/gtest.h>

#include "display_support.h"

namespace quolvet::testing {
namespace {

using geometry::gridToPixel;
using Pictures = CanvasTest;

QString nameOf(int code)
{
    static const char* const kinds[] = {"HU", "KYOU", "KEI", "GIN", "KIN", "KAKU", "SYA", "OU"};
    if (code > 0) return QString(kinds[code - 1]) + "_2";
    if (code < 0) return QString("SITA_") + kinds[-code - 1];
    return "KARA_MASU";
}

TEST_F(Pictures, EveryBoardValueShowsItsOwnPictureInItsSquare)
{
    for (int code = -8; code <= 8; ++code) game.board[(code + 8) / 9 + 1][(code + 8) % 9 + 1] = code;
    canvas.描画_盤();
    for (int code = -8; code <= 8; ++code) {
        EXPECT_EQ(cellInside(canvas.image(), (code + 8) / 9 + 1, (code + 8) % 9 + 1), insideOf(nameOf(code)))
            << "code " << code;
    }
}

TEST_F(Pictures, OnlyCodesWithAPicturePaintAndAtTheirOwnSize)
{
    const QImage before = canvas.image().copy();
    for (const int code : {9, 16, -9, 99}) canvas.描画_絵(code, 3, 3);
    EXPECT_EQ(canvas.image(), before);

    canvas.描画_絵(PIC_TITLE, 11.5, 0);
    EXPECT_EQ(canvas.image().copy(QRect(QPoint(426, 7), QSize(115, 57))), asset("QXSHOGI"));
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

TEST_F(Pictures, RedrawingTheOutlinesTakesHighlightsAwayAndKeepsThePieces)
{
    game.board[5][5] = KIN;
    game.board[5][6] = HU;
    canvas.描画_盤();
    canvas.描画_移動可能桝(5, 6);
    canvas.描画_桝輪郭(COLOR_LIGHT_MAGENTA, 5, 6);
    EXPECT_EQ(canvas.image().pixel(gridToPixel(5, 5)), white);
    canvas.描画_将棋盤桝();
    for (const QPoint corner : {gridToPixel(5, 5), gridToPixel(5, 6), gridToPixel(6, 6)}) {
        EXPECT_EQ(canvas.image().pixel(corner + QPoint(0, 20)), green);
    }
    EXPECT_EQ(cellInside(canvas.image(), 5, 5), insideOf("KIN_2"));
}

TEST_F(Pictures, AnEmptiedHandCellShowsBareWoodAndPlainBackground)
{
    canvas.描画_盤();
    game.enemyHand[KEI] = 5;
    canvas.描画_敵持駒(KEI);
    EXPECT_EQ(cellInside(canvas.image(), -1, KEI), insideOf("KEI_2"));
    EXPECT_NE(edgeOf(canvas.image(), cellRect(0, KEI), magenta, true), -1);

    game.enemyHand[KEI] = 0;
    canvas.描画_敵持駒(KEI);
    EXPECT_EQ(cellInside(canvas.image(), -1, KEI), insideOf("KARA_MASU"));
    EXPECT_EQ(canvas.image().copy(cellRect(0, KEI).adjusted(1, 0, 0, 0)), asset("HAIKEI").copy(1, 0, 32, 41));
    // The tile reached into the board square beside it; that square's outline is drawn again.
    EXPECT_EQ(canvas.image().pixel(gridToPixel(1, KEI) + QPoint(0, 20)), green);
}

}  // namespace
}  // namespace quolvet::testing
