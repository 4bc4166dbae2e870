#include "board_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QtMath>

#include "canvas.h"
#include "palette.h"

namespace quolvet {

namespace {

// The pixel a press falls in; on a scaled screen positions can be fractional.
QPoint pixelAt(QPointF position) { return {qFloor(position.x()), qFloor(position.y())}; }

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
    // On a high-density screen the pixel art is enlarged by whole blocks, never smoothed.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QImage& image = canvas_.image();
    const QRect area = event->rect();
    painter.drawImage(area & image.rect(), image, area & image.rect());
    // Should the window ever make the view larger than the image, the rest is plain background.
    const QRegion beyond = QRegion(area).subtracted(image.rect());
    for (const QRect& rect : beyond) painter.fillRect(rect, qbColor(backgroundColor));
}

void BoardView::mousePressEvent(QMouseEvent* event)
{
    if (!onMousePress) {
        QWidget::mousePressEvent(event);
        return;
    }
    onMousePress(pixelAt(event->position()));
}

void BoardView::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

}  // namespace quolvet
