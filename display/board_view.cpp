#include "board_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include <cmath>

#include "canvas.h"
#include "geometry.h"
#include "palette.h"

namespace quolvet {

namespace {

// The canvas's pixels, one device pixel to a unit, for drawing where the screen's pixels are.
QImage devicePixels(const QImage& image)
{
    return QImage(image.constBits(), image.width(), image.height(), image.bytesPerLine(), image.format());
}

}  // namespace

BoardView::BoardView(const Canvas& canvas, QWidget* parent) : QWidget(parent), canvas_(canvas)
{
    setFixedSize(viewWidth, viewHeight);
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel comes from the image, so Qt need not clear anything first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QImage& image = canvas_.image();
    const QRect shown(QPoint(), image.deviceIndependentSize().toSize());
    const qreal ratio = devicePixelRatioF();
    if (image.devicePixelRatio() == ratio) {
        // Drawn for this screen: copied pixel for pixel, from the view's first whole device
        // pixel on (at 1.5 a view can start inside one), where geometry::pixelAtPosition takes
        // presses back from.
        const QTransform start = painter.deviceTransform();
        const auto shift = [](qreal at) { return std::ceil(at - 1e-6) - at; };
        painter.setWorldTransform(
            QTransform::fromScale(1 / ratio, 1 / ratio).translate(shift(start.dx()), shift(start.dy())));
        painter.drawImage(QPoint(), devicePixels(image));
        painter.resetTransform();
    } else {
        // Until the window has drawn itself for a new screen.
        painter.drawImage(shown, image);
    }
    // Should the window ever make the view larger than the image, the rest is plain background.
    const QRegion beyond = QRegion(event->rect()).subtracted(shown);
    for (const QRect& rect : beyond) painter.fillRect(rect, qbColor(backgroundColor));
}

void BoardView::mousePressEvent(QMouseEvent* event)
{
    if (!onMousePress) {
        QWidget::mousePressEvent(event);
        return;
    }
    onMousePress(geometry::pixelAtPosition(event->position(), devicePixelRatioF()));
}

void BoardView::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

}  // namespace quolvet
