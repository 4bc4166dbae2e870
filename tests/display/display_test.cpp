#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>

#include "board_view.h"
#include "canvas.h"
#include "packed_texts.h"
#include "pictures.h"
#include "text.h"
#include "window_oracle.h"

namespace quolvet {
namespace {

using geometry::toDevice;

QRect cellRect(double column, double row) { return {geometry::gridToPixel(column, row), QSize(33, 41)}; }
const QRect boardArea(geometry::gridToPixel(1, 1), geometry::gridToPixel(10, 10));

// Draws a state as a new window does, at a pixel ratio.
QImage drawn(const Game& game, double ratio) {
    Canvas canvas(game);
    canvas.setDevicePixelRatio(ratio);
    canvas.tileBackground();
    canvas.drawPosition();
    canvas.描画_絵(PIC_TITLE, 11.5, 0);
    // Codes without a picture paint nothing, rather than something read past the pictures.
    for (const int code : {9, 16, -9, 99}) canvas.描画_絵(code, 5, 5);
    return canvas.image();
}

// Every board code, hand counts of one and two digits, and the counter at its widths.
Game sample(int moves) {
    Game game;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) game.board[x][y] = (x * 9 + y + moves) % 17 - 8;
    for (int k = 1; k <= pieceKinds; ++k) {
        game.enemyHand[k] = (k * moves) % 13;
        game.ownHand[k] = (k + moves) % 3 == 0 ? 0 : k + moves % 11;
    }
    game.moveNumber = moves;
    return game;
}

// At 1 each part where the layout puts it, in its colours and with its shadow. On a scaled
// screen every cell shows, inside its own top and left outline, the picture drawn for that
// scale, which is the one in its folder, not the one for 1 enlarged.
TEST(Drawing, EveryPartOfAStateIsWhereAndAsItMustBe) {
    for (const int moves : {0, 7, 10, 80, 100}) {
        const Game game = sample(moves);
        EXPECT_EQ(oracle::differences(drawn(game, 1), oracle::expectedWindow(game)), std::vector<std::string>{})
            << moves << " moves";
    }
    const Game game = sample(37);
    for (const double ratio : {1.5, 2.0}) {
        const QImage image = drawn(game, ratio);
        const int line = std::lround(ratio);
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y) {
                const QRect cell = toDevice(cellRect(x, y), ratio);
                const QRect inside = cell.adjusted(line, line, 0, 0);
                const QImage picture = loadPicture(game.board[x][y], ratio).copy(inside.translated(-cell.topLeft()));
                EXPECT_TRUE(image.copy(inside) == picture) << ratio << ": " << x << "," << y;
            }
    }
    EXPECT_EQ(loadPicture(-KIN, 2), QImage(QUOLVET_ASSETS_DIR "/2x/SITA_KIN.png").convertToFormat(QImage::Format_RGB32));
}

// A press on any device pixel of a square takes that square; also where the view starts inside
// a device pixel (below a menu bar 23 pixels high at 1.5), so that the image starts at the next
// whole one.
TEST(Press, FindsTheSquareDrawnUnderIt) {
    for (const double ratio : {1.0, 1.5, 2.0}) {
        const QRect board = toDevice(boardArea, ratio);
        for (const int top : {0, 23})
            for (int dx = board.left(); dx <= board.right(); ++dx)
                for (int dy = board.top(); dy <= board.bottom(); ++dy) {
                    const QPointF position = QPointF(dx, dy + std::ceil(top * ratio)) / ratio - QPointF(0, top);
                    const Square square = geometry::cellAtPixel(geometry::pixelAtPosition(position, ratio));
                    ASSERT_TRUE(toDevice(cellRect(square.x, square.y), ratio).contains(dx, dy)) << ratio << ": " << dx << "," << dy;
                }
    }
}

// The keyboard cursor lies over the image, never in it: from the first arrow key on it shows
// inside its square only, clear of the outlines around it (a chosen piece's, here), and a mouse
// press takes it away.
TEST(Cursor, ShowsInsideItsSquareFromTheFirstArrowUntilAPress) {
    const Game game = sample(3);
    Canvas canvas(game);
    canvas.tileBackground();
    canvas.drawPosition();
    canvas.描画_移動可能桝(5, 6);
    canvas.描画_桝輪郭(COLOR_LIGHT_MAGENTA, 5, 5);
    BoardView view(canvas, game);
    const auto changed = [&] {
        const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QRect covered;
        for (int x = 0; x < shown.width(); ++x)
            for (int y = 0; y < shown.height(); ++y)
                if (shown.pixel(x, y) != canvas.image().pixel(x, y)) covered |= QRect(x, y, 1, 1);
        return covered;
    };
    EXPECT_EQ(changed(), QRect());
    for (const auto& [step, square] : {std::pair{BoardView::CursorStep::left, Square{5, 5}}, {BoardView::CursorStep::up, {5, 4}},
                                       {BoardView::CursorStep::rowEnd, {9, 4}}}) {
        view.moveCursor(step);
        const QRect inside = BoardView::squareRect(square).adjusted(2, 2, -2, -2);
        EXPECT_EQ(changed(), inside) << "the cursor at " << square.x << "," << square.y;
    }
    QTest::mouseClick(&view, Qt::LeftButton);
    EXPECT_EQ(changed(), QRect());
}

// The texts set at build time ink what the font sets now, pixel for pixel and with the same box,
// at every scale and both parities of a half pixel. At 1 the window oracle reads them as well.
TEST(Text, PackedInksWhatTheFontSets) {
    ASSERT_FALSE(packedTexts.empty());
    const auto printed = [](const PackedText& packed, auto print) {
        QImage image(QSize(240, 120) * packed.scale, QImage::Format_RGB32);
        image.fill(Qt::gray);
        QPainter painter(&image);
        const QSize box = print(painter, QPoint(30 + packed.phaseX, 20 + packed.phaseY), QString::fromUtf8(packed.text));
        return std::pair(image, box);
    };
    for (const PackedText& packed : packedTexts) {
        const auto inked = printed(packed, [&](QPainter& painter, QPoint corner, const QString& text) {
            return inkPackedText(painter, corner, text, Qt::red, packed.points, packed.scale, packedTextFace).value_or(QSize());
        });
        const auto set = printed(packed, [&](QPainter& painter, QPoint corner, const QString& text) {
            return setText(painter, corner, text, Qt::red, packed.points, true, packed.scale);
        });
        EXPECT_TRUE(inked == set) << packed.text << " at " << packed.points << " points, scale " << packed.scale;
    }
}

}  // namespace
}  // namespace quolvet
