#include "board_view.h"

#include <sys/mman.h>
#include <unistd.h>

#include <QBackingStore>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QTimer>

#include <algorithm>
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

// The window's copy on the way to the screen (shared with the display server) is made present in
// one call before the first paint writes it whole, rather than one fault for each of its fresh
// pages as the copy reaches them: on this kind of virtual machine that was some 300 faults of
// 10 µs each in the first paint, 1200 at scale 2.
void makePresent(const QWidget& widget)
{
    QBackingStore* store = widget.backingStore();
    QPaintDevice* device = store ? store->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image) return;
    const auto& image = static_cast<const QImage&>(*device);
    static const uchar* done = nullptr;
    if (image.constBits() == done) return;
    done = image.constBits();
    const auto page = uintptr_t(sysconf(_SC_PAGESIZE));
    const uintptr_t from = uintptr_t(image.constBits()) & ~(page - 1);
    const uintptr_t to = uintptr_t(image.constBits()) + uintptr_t(image.sizeInBytes());
    madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
}

}  // namespace

BoardView::BoardView(const Canvas& canvas, const Game& game, QWidget* parent)
    : QWidget(parent), canvas_(canvas), game_(game)
{
    installBoardAccessibility();
    setFixedSize(viewWidth, viewHeight);
    setFocusPolicy(Qt::StrongFocus);
    // Every pixel comes from the image, so Qt need not clear anything first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BoardView::paintEvent(QPaintEvent* event)
{
    makePresent(*this);
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
    if (cursorShown_ && event->rect().intersects(squareRect(cursor_))) paintCursor(painter);
}

// Four corner brackets inside the square, clear of its outline and of the first pixel within:
// the white and magenta outlines stay whole beside it, and nothing else on the board is blue.
void BoardView::paintCursor(QPainter& painter) const
{
    constexpr int inset = 2;
    constexpr int arm = 9;
    constexpr int thickness = 3;
    const QColor blue(0, 72, 255);
    const QRect inner = squareRect(cursor_).adjusted(inset, inset, -inset, -inset);
    for (const bool right : {false, true}) {
        for (const bool bottom : {false, true}) {
            const int x = right ? inner.right() + 1 - thickness : inner.left();
            const int y = bottom ? inner.bottom() + 1 - thickness : inner.top();
            painter.fillRect(right ? inner.right() + 1 - arm : inner.left(), y, arm, thickness, blue);
            painter.fillRect(x, bottom ? inner.bottom() + 1 - arm : inner.top(), thickness, arm, blue);
        }
    }
}

QRect BoardView::squareRect(Square square)
{
    const QPoint to = geometry::gridToPixel(square.x + 1, square.y + 1);
    return QRect(geometry::gridToPixel(square.x, square.y), to - QPoint(1, 1));
}

std::optional<Square> BoardView::cursor() const
{
    if (!cursorShown_) return std::nullopt;
    return cursor_;
}

void BoardView::moveCursor(CursorStep step)
{
    Square to = cursor_;
    if (cursorShown_) {
        switch (step) {
            case CursorStep::stay: break;
            case CursorStep::left: to.x = std::max(1, to.x - 1); break;
            case CursorStep::right: to.x = std::min(boardSize, to.x + 1); break;
            case CursorStep::up: to.y = std::max(1, to.y - 1); break;
            case CursorStep::down: to.y = std::min(boardSize, to.y + 1); break;
            case CursorStep::rowStart: to.x = 1; break;
            case CursorStep::rowEnd: to.x = boardSize; break;
        }
    }
    placeCursor(to);
}

void BoardView::placeCursor(Square square)
{
    if (cursorShown_ && square == cursor_) return;
    update(squareRect(cursor_));
    cursor_ = square;
    cursorShown_ = true;
    update(squareRect(cursor_));
    if (hasFocus()) speaker_.focusMoved();
}

void BoardView::pressSquare(Square square)
{
    placeCursor(square);
    if (onSquarePress) onSquarePress(square);
}

void BoardView::mousePressEvent(QMouseEvent* event)
{
    // The mouse takes over from the keyboard: the cursor goes until the next arrow key.
    if (cursorShown_) {
        cursorShown_ = false;
        update(squareRect(cursor_));
        if (hasFocus()) speaker_.focusMoved();
    }
    if (!onMousePress) {
        QWidget::mousePressEvent(event);
        return;
    }
    onMousePress(geometry::pixelAtPosition(event->position(), devicePixelRatioF()));
}

void BoardView::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

// Back on the board (after a message box, say), the cursor's square is the focus again, told
// after Qt has told of the board itself.
void BoardView::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (cursorShown_) QTimer::singleShot(0, this, [this] { if (hasFocus() && cursorShown_) speaker_.focusMoved(); });
}

}  // namespace quolvet
