#include <QCryptographicHash>

#include <gtest/gtest.h>

#include "canvas.h"
#include "pictures.h"

namespace quolvet {
namespace {

using geometry::toDevice;

QRect cellRect(double column, double row) { return {geometry::gridToPixel(column, row), QSize(33, 41)}; }

// The whole window drawn as at start-up, at a ratio, over every board value, counts in both
// hands and a two-digit counter.
class Screen : public ::testing::TestWithParam<double> {
protected:
    const QImage& drawnAt(double ratio)
    {
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y) game.board[x][y] = (x * 9 + y) % 17 - 8;
        game.enemyHand[KEI] = 2;
        game.ownHand[KIN] = 12;
        game.moveNumber = 37;
        canvas.setDevicePixelRatio(ratio);
        for (int x = -2; x <= 20; ++x)
            for (int y = -2; y <= 15; ++y) canvas.描画_絵(PIC_BACKGROUND, x, y);
        canvas.描画_桝_数値();
        for (int k = 1; k <= pieceKinds; ++k) {
            canvas.描画_敵持駒(k);
            canvas.描画_自持駒(k);
        }
        canvas.描画_盤();
        canvas.描画_手数(game.moveNumber);
        canvas.描画_絵(PIC_TITLE, 11.5, 0);
        return canvas.image();
    }
    Game game;
    Canvas canvas{game};
};

TEST_P(Screen, EveryCellShowsThePieceTheGameHolds)
{
    const double ratio = GetParam();
    const QImage& image = drawnAt(ratio);
    const auto shows = [&](double column, double row, int code) {
        const QRect cell = toDevice(cellRect(column, row), ratio);
        const int line = std::lround(ratio);  // its own outline's top and left
        const QRect inside = cell.adjusted(line, line, 0, 0);
        return image.copy(inside) == loadPicture(code, ratio).copy(inside.translated(-cell.topLeft()));
    };
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) EXPECT_TRUE(shows(x, y, game.board[x][y])) << x << "," << y;
    for (int k = 1; k <= pieceKinds; ++k)
        EXPECT_TRUE(shows(-1, k, game.enemyHand[k] ? k : PIC_EMPTY) && shows(11, k + 1, game.ownHand[k] ? k : PIC_EMPTY)) << k;
}

// A press on any device pixel of a square takes that square, as at 1; also where the view
// starts inside a device pixel (below a menu bar 23 pixels high at 1.5), so that the image
// starts at the next whole one.
TEST_P(Screen, APressFindsTheSquareDrawnUnderIt)
{
    const double ratio = GetParam();
    const QRect board = toDevice(QRect(geometry::gridToPixel(1, 1), geometry::gridToPixel(10, 10)), ratio);
    for (const int top : {0, 23})
        for (int dx = board.left(); dx <= board.right(); ++dx)
            for (int dy = board.top(); dy <= board.bottom(); ++dy) {
                const QPointF position = QPointF(dx, dy + std::ceil(top * ratio)) / ratio - QPointF(0, top);
                const Square square = geometry::cellAtPixel(geometry::pixelAtPosition(position, ratio));
                ASSERT_TRUE(toDevice(cellRect(square.x, square.y), ratio).contains(dx, dy)) << dx << "," << dy;
            }
}

INSTANTIATE_TEST_SUITE_P(Ratios, Screen, ::testing::Values(1.0, 1.5, 2.0));

// At 1 the window is what it always was, pixel for pixel; at 2 the board is drawn for the
// device, not enlarged by whole blocks of one colour, from the pictures drawn anew at 2.
TEST_F(Screen, OneAsEverTwoAsSharp)
{
    const QImage& one = drawnAt(1);
    const QByteArrayView pixels(one.constBits(), one.sizeInBytes());
    EXPECT_EQ(QCryptographicHash::hash(pixels, QCryptographicHash::Sha1).toHex(), "8c9f299c01bcddb3c5709e4b0b7f25fe29614586");

    const QImage board = drawnAt(2).copy(toDevice(QRect(geometry::gridToPixel(1, 1), geometry::gridToPixel(10, 10)), 2));
    EXPECT_NE(board, board.scaled(board.size() / 2).scaled(board.size()));
    EXPECT_EQ(loadPicture(-KIN, 2), QImage(QUOLVET_ASSETS_DIR "/2x/SITA_KIN.png").convertToFormat(QImage::Format_RGB32));
}

}  // namespace
}  // namespace quolvet
