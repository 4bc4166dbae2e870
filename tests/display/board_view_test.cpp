#include <QCoreApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include "board_view.h"
#include "display_support.h"

namespace quolvet::testing {
namespace {

TEST_F(CanvasTest, TheViewShowsTheImageOneToOneAndReportsPressedPixels)
{
    BoardView view(canvas);
    canvas.attach(&view);
    for (int x = -2; x <= 20; ++x) {
        for (int y = -2; y <= 15; ++y) canvas.描画_絵(PIC_BACKGROUND, x, y);
    }
    canvas.描画_盤();
    EXPECT_EQ(view.size(), QSize(559, 440));
    EXPECT_EQ(view.grab().toImage().convertToFormat(QImage::Format_RGB32), canvas.image().copy(0, 0, 559, 440));

    QPoint pressedAt;
    view.onMousePress = [&](QPoint pixel) { pressedAt = pixel; };
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(79.5, 48.75), QPointF(79.5, 48.75), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &press);
    EXPECT_EQ(pressedAt, QPoint(79, 48));  // the pixel the press fell in, not the nearest one
}

}  // namespace
}  // namespace quolvet::testing
