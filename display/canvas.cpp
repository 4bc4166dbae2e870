#include "canvas.h"

#include <sys/mman.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <thread>

#include <QBitmap>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include "display_connection.h"
#include "packed_texts.h"
#include "pictures.h"
#include "text.h"

namespace quolvet {

using geometry::gridToPixel;
using geometry::toDevice;
using geometry::twipsToPixel;

namespace {

constexpr int firstCode = -8;
constexpr int lastCode = PIC_PIECE_MEDIUM;
constexpr int iconSize = 32;
constexpr int captionCode = 99;
constexpr int highestMoveNumber = 80;  // every move takes at least one of the 81 pieces

// The background is tiled over columns −2..20 and rows −2..15, but the window is never larger
// than its outer size, 8500 × 8100 twips: the image holds only what can be seen.
const QSize imageSize = {twipsToPixel(8500), twipsToPixel(8100)};

// The image's pixels lie in memory of their own, in huge pages where the system lends them: on
// this kind of virtual machine first touching each fresh 4 KiB page costs some 10 µs, so filling
// the 1.2 MB image page by page took 3 ms of start-up, the 4.9 MB one at scale 2 over 10 ms.
QImage hugePageImage(QSize size)
{
    constexpr qsizetype hugePage = qsizetype(2) << 20;
    const qsizetype bytesPerLine = qsizetype(size.width()) * 4;
    const qsizetype bytes = bytesPerLine * size.height();
    const qsizetype rounded = (bytes + hugePage - 1) / hugePage * hugePage;
    void* pixels = std::aligned_alloc(hugePage, rounded);
    if (!pixels) return QImage(size, QImage::Format_RGB32);
    // A last huge page less than half filled would hold more unused than used: that part stays
    // in small pages (at scale 2, 0.9 MB of the 4.9 MB).
    const qsizetype tail = bytes % hugePage;
    madvise(pixels, tail != 0 && tail < hugePage / 2 ? bytes - tail : rounded, MADV_HUGEPAGE);
    // And the small pages made present in one call rather than one fault each.
    madvise(pixels, bytes, MADV_POPULATE_WRITE);
    return QImage(static_cast<uchar*>(pixels), size.width(), size.height(), bytesPerLine, QImage::Format_RGB32,
                  std::free, pixels);
}

QImage blankImage(double ratio)
{
    QImage image = hugePageImage(toDevice(QRect(QPoint(), imageSize), ratio).size());
    image.setDevicePixelRatio(ratio);
    image.fill(qbColor(backgroundColor));
    return image;
}

// An outline is as many device pixels wide as a pixel is, rounded: at 1.5 every line is two
// device pixels wide, none one and the next two. It starts where its pixel starts, so it covers
// that pixel whole and, where that pixel covers one device pixel only, the first of the next.
int lineWidth(double ratio) { return std::max(1, static_cast<int>(std::lround(ratio))); }

void sleepFor(double seconds)
{
    flushDisplayConnection();
    using namespace std::chrono;
    const auto until = steady_clock::now() + duration_cast<steady_clock::duration>(duration<double>(seconds));
    std::this_thread::sleep_until(until);
}

void showIcon(QLabel* label, TurnIcon icon, double ratio)
{
    QPixmap picture = QPixmap::fromImage(loadIcon(icon, ratio));
    picture.setDevicePixelRatio(ratio);
    label->setPixmap(picture);
}

QLabel* makeIcon(QWidget* parent, TurnIcon icon, double ratio)
{
    auto* label = new QLabel(parent);
    showIcon(label, icon, ratio);
    label->setFixedSize(iconSize, iconSize);
    label->hide();
    return label;
}

}  // namespace

Canvas::Canvas(const Game& game, double ratio)
    : game_(game), ratio_(ratio), image_(blankImage(ratio)), waiter_(sleepFor)
{
    loadPictures();
}

Canvas::~Canvas() = default;

void Canvas::setDevicePixelRatio(double ratio)
{
    if (ratio == ratio_) return;
    ratio_ = ratio;
    pixels_ = QImage();
    image_ = QImage();  // the old one goes before the new one comes
    image_ = blankImage(ratio);
    counterDrawn_ = false;
    loadPictures();
    if (iconMan_) showIcon(iconMan_, TurnIcon::man, ratio);
    if (iconCom_) showIcon(iconCom_, TurnIcon::com, ratio);
    dirty_ += QRect(QPoint(), imageSize);
}

// The image's pixels as they are, one device pixel to a unit: pictures and outlines are placed
// on device pixels by hand, texts under a scale to the ratio. The same QImage over them serves
// every procedure, so its paint engine is made once, not once for each of the 414 tiles of
// start-up; it is made anew when the image is, or has been copied and must go its own way.
QImage& Canvas::devicePixels()
{
    uchar* bits = image_.bits();
    if (pixels_.constBits() != bits)
        pixels_ = QImage(bits, image_.width(), image_.height(), image_.bytesPerLine(), image_.format());
    return pixels_;
}

void Canvas::loadPictures()
{
    for (int code = firstCode; code <= lastCode; ++code) {
        pictures_[code - firstCode] = loadPicture(code, ratio_);
        pictureSizes_[code - firstCode] = loadPicture(code, 1).size();
    }
}

QPoint Canvas::upperIconPlace() { return twipsToPixel(300, 100); }
QPoint Canvas::lowerIconPlace() { return twipsToPixel(6900, 5600); }

void Canvas::attach(QWidget* view)
{
    view_ = view;
    iconMan_ = makeIcon(view, TurnIcon::man, ratio_);
    iconCom_ = makeIcon(view, TurnIcon::com, ratio_);
}

void Canvas::refresh()
{
    // repaint(), not update(): the caller is about to wait without taking events. Only what was
    // drawn since the last refresh is sent, so a frame costs what it changed.
    if (view_) view_->repaint(dirty_);
    dirty_ = QRegion();
    if (refreshObserver_) refreshObserver_();
}

void Canvas::setWaiter(std::function<void(double)> waiter) { waiter_ = waiter ? std::move(waiter) : sleepFor; }

void Canvas::setRefreshObserver(std::function<void()> observer) { refreshObserver_ = std::move(observer); }

void Canvas::changed()
{
    if (view_) view_->update(dirty_);
}

// Where the icons stand now: a refresh must repaint what an icon leaves or comes to cover.
void Canvas::markIcons()
{
    if (iconMan_) dirty_ += iconMan_->geometry();
    if (iconCom_) dirty_ += iconCom_->geometry();
}

// --- primitives: each takes the painter of the procedure that calls it -------------------------

// A picture covers the device pixels of its cells exactly: drawn for the ratio, it is cut to
// them where its last pixel falls half outside (at 1.5 a cell is 49 or 50 device pixels wide).
void Canvas::paintPicture(QPainter& painter, int code, double column, double row)
{
    if (code < firstCode || code > lastCode) return;
    const QImage& picture = pictures_[code - firstCode];
    if (picture.isNull()) return;
    const QRect cells(gridToPixel(column, row), pictureSizes_[code - firstCode]);
    const QRect device = toDevice(cells, ratio_);
    painter.drawImage(device.topLeft(), picture, QRect(QPoint(), device.size()));
    dirty_ += cells;
}

// The right and bottom sides lie on the neighbouring cell's first pixel column and row, so
// neighbouring outlines share a side.
void Canvas::paintOutline(QPainter& painter, int colour, double column, double row)
{
    const QPoint from = gridToPixel(column, row);
    const QPoint to = gridToPixel(column + 1, row + 1);
    const int width = to.x() - from.x() + 1;
    const int height = to.y() - from.y() + 1;
    const QColor color = qbColor(colour);
    const QPoint deviceFrom(toDevice(from.x(), ratio_), toDevice(from.y(), ratio_));
    const QPoint deviceTo(toDevice(to.x(), ratio_), toDevice(to.y(), ratio_));
    const int line = lineWidth(ratio_);
    const int across = deviceTo.x() - deviceFrom.x() + line;
    const int down = deviceTo.y() - deviceFrom.y() + line;
    painter.fillRect(deviceFrom.x(), deviceFrom.y(), across, line, color);
    painter.fillRect(deviceFrom.x(), deviceTo.y(), across, line, color);
    painter.fillRect(deviceFrom.x(), deviceFrom.y(), line, down, color);
    painter.fillRect(deviceTo.x(), deviceFrom.y(), line, down, color);
    dirty_ += QRect(from.x(), from.y(), width + 1, height + 1);
}

void Canvas::printAt(QPainter& painter, double x, double y, const QString& text, int colour, int size)
{
    if (text.isEmpty()) return;
    const QPoint topLeft = twipsToPixel(x, y);
    const QColor color = qbColor(colour);
    // The texts of play come packed, set at build time in the same face: the font and its glyphs
    // are then never loaded at all.
    const QString face = installedMincho();
    std::optional<QSize> box;
    if (bold_) box = inkPackedText(painter, topLeft, text, color, size, ratio_, face);
    if (!box) box = setText(painter, topLeft, text, color, size, bold_, ratio_);
    // Bold glyphs may reach a little beyond their advance.
    dirty_ += QRect(topLeft, *box + QSize(4, 2));
}

void Canvas::printNumber(QPainter& painter, double column, double row, int value, int colour, int mode,
                         int size)
{
    using namespace geometry;
    printAt(painter, boardLeft + column * squareWidth, boardTop + row * squareHeight, printedNumber(value, mode),
            colour, size);
}

// A caption stands a little right of and below its grid point.
void Canvas::printCaption(QPainter& painter, double column, double row, int code, int colour, int size)
{
    using namespace geometry;
    printAt(painter, boardLeft + column * squareWidth + 120, boardTop + row * squareHeight + 160, caption(code),
            colour, size);
}

// The piece with its count beside it, or an empty wooden square with plain background beside it.
void Canvas::paintHandCell(QPainter& painter, int count, int k, double column, double row)
{
    paintPicture(painter, k, column, row);
    paintPicture(painter, PIC_BACKGROUND, column + 1, row);
    if (count == 0) paintPicture(painter, PIC_EMPTY, column, row);
    printHandCount(painter, count, column, row);
}

// Beside the hand cell at (column, row).
void Canvas::printHandCount(QPainter& painter, int count, double column, double row)
{
    if (count == 0) return;
    printNumber(painter, column + 1.1, row + 0.3, count, COLOR_BLACK, 0, 14);
    printNumber(painter, column + 1, row + 0.2, count, COLOR_LIGHT_MAGENTA, 0, 14);
}

// --- pictures, board and hands -----------------------------------------------------------------

void Canvas::描画_絵(int code, double column, double row)
{
    QPainter painter(&devicePixels());
    paintPicture(painter, code, column, row);
    painter.end();
    changed();
}

void Canvas::描画_盤()
{
    QPainter painter(&devicePixels());
    for (int x = 1; x <= boardSize; ++x) {
        for (int y = 1; y <= boardSize; ++y) {
            paintPicture(painter, PIC_EMPTY, x, y);
            if (game_.board[x][y] != EMPTY) paintPicture(painter, game_.board[x][y], x, y);
            paintOutline(painter, backgroundColor, x, y);
        }
    }
    painter.end();
    changed();
}

void Canvas::描画_将棋盤桝()
{
    QPainter painter(&devicePixels());
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) paintOutline(painter, gridColor, x, y);
    }
    painter.end();
    changed();
}

void Canvas::描画_敵持駒(int k)
{
    if (k < 1 || k > pieceKinds) return;
    QPainter painter(&devicePixels());
    paintHandCell(painter, game_.enemyHand[k], k, -1, k);
    paintOutline(painter, backgroundColor, -1, k);
    // The count's background tile reaches one pixel into the board square beside it.
    paintOutline(painter, backgroundColor, 1, k);
    painter.end();
    changed();
}

void Canvas::描画_自持駒(int k)
{
    if (k < 1 || k > pieceKinds) return;
    QPainter painter(&devicePixels());
    paintHandCell(painter, game_.ownHand[k], k, 11, k + 1);
    paintOutline(painter, backgroundColor, 11, k + 1);
    painter.end();
    changed();
}

void Canvas::描画_勢力範囲()
{
    QPainter painter(&devicePixels());
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            if (game_.board[x][y] != EMPTY) continue;
            paintPicture(painter, PIC_EMPTY, x, y);
            paintOutline(painter, gridColor, x, y);
        }
    }
    painter.end();
    changed();
}

// --- text --------------------------------------------------------------------------------------

void Canvas::描画_数値(double column, double row, int value, int colour, int mode, int size)
{
    QPainter painter(&devicePixels());
    printNumber(painter, column, row, value, colour, mode, size);
    painter.end();
    changed();
}

void Canvas::描画_文字列(double column, double row, int code, int colour, int size)
{
    QPainter painter(&devicePixels());
    printCaption(painter, column, row, code, colour, size);
    painter.end();
    changed();
}

void Canvas::描画_桝_数値()
{
    bold_ = true;
    QPainter painter(&devicePixels());
    for (int i = 1; i <= 9; ++i) {
        printNumber(painter, i + 0.2, 0.5, 10 - i, COLOR_BLACK, 0, 16);
        printNumber(painter, 10.2, i + 0.4, i, COLOR_BLACK, 1, 12);
        printNumber(painter, i + 0.1, 0.4, 10 - i, COLOR_WHITE, 0, 16);
        printNumber(painter, 10.1, i + 0.3, i, COLOR_WHITE, 1, 12);
    }
    painter.end();
    changed();
}

void Canvas::描画_手数(int count)
{
    QPainter painter(&devicePixels());
    // Only what a counter can ink is wiped, background tiles as they lie; the first counter
    // has nothing to wipe, which keeps finding that area out of the start-up. The lower hand's
    // count of kind 2 stands just left of it in the same row and may reach into that area.
    if (counterDrawn_) {
        painter.setClipRegion(counterArea());
        for (int column = 12; column <= 14; ++column) paintPicture(painter, PIC_BACKGROUND, column, 3);
        printHandCount(painter, game_.ownHand[2], 11, 3);
        painter.setClipping(false);
    }
    counterDrawn_ = true;
    printCounter(painter, count);
    painter.end();
    changed();
}

void Canvas::printCounter(QPainter& painter, int count, bool withCaption)
{
    // The counter moves left by a tenth of a cell for each digit beyond the first.
    const double shift = count < 10 ? 0 : count < 100 ? 0.1 : 0.2;
    printNumber(painter, 13 - shift, 3.4, count, COLOR_BLACK, 0, 12);
    printNumber(painter, 12.9 - shift, 3.3, count, COLOR_WHITE, 0, 12);
    if (!withCaption) return;
    printCaption(painter, 13.8, 3.2, captionCode, COLOR_BLACK, 10);
    printCaption(painter, 13.7, 3.1, captionCode, COLOR_WHITE, 10);
}

// Every device pixel a counter inks for the counts a game reaches, found once for each ratio by
// printing them all around the counter's place on a ground of a colour no text has.
QRegion Canvas::counterArea()
{
    // By bold flag and ratio; the fonts stay for the whole run.
    static std::map<std::pair<bool, double>, QRegion> areas;
    QRegion& area = areas[{bold_, ratio_}];
    if (!area.isEmpty()) return area;
    const QRect around = toDevice(QRect(gridToPixel(11, 2), gridToPixel(16, 5)), ratio_);
    const QRgb ground = qbColor(COLOR_GREEN).rgb();
    QImage ink(around.size(), image_.format());
    ink.fill(ground);
    QPainter painter(&ink);
    painter.translate(-around.topLeft());
    const QRegion dirty = dirty_;
    for (int count = 0; count <= highestMoveNumber; ++count) printCounter(painter, count, count == 0);
    dirty_ = dirty;
    painter.end();
    // The mask marks the ground; as a bitmap, its set pixels are the others.
    area = QRegion(QBitmap::fromImage(ink.createMaskFromColor(ground)));
    area.translate(around.topLeft());
    return area;
}

// --- highlights, icons, pacing -----------------------------------------------------------------

void Canvas::描画_桝輪郭(int colour, double column, double row)
{
    QPainter painter(&devicePixels());
    paintOutline(painter, colour, column, row);
    painter.end();
    changed();
}

void Canvas::描画_移動可能桝(int x, int y)
{
    QPainter painter(&devicePixels());
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 9; ++j) {
            if (game_.移動チェック(x, y, i, j, game_.board[x][y]) == ON) paintOutline(painter, COLOR_WHITE, i, j);
        }
    }
    painter.end();
    changed();
}

void Canvas::描画_アイコン()
{
    markIcons();
    if (iconMan_ && iconCom_) {
        const int side = game_.sideToMove;
        if (game_.gameMode == MODE_HUMAN) {
            if (side == game_.enemySide) {
                iconMan_->move(upperIconPlace());
            } else if (side == game_.ownSide) {
                iconMan_->move(lowerIconPlace());
            }
            iconMan_->show();
        } else if (game_.gameMode == MODE_COM) {
            if (side == game_.enemySide) {
                iconMan_->hide();
                iconCom_->move(upperIconPlace());
                iconCom_->show();
            } else if (side == game_.ownSide) {
                iconCom_->hide();
                iconMan_->move(lowerIconPlace());
                iconMan_->show();
            }
        }
    }
    markIcons();
    refresh();
}

void Canvas::消去_アイコン()
{
    markIcons();
    if (iconMan_) iconMan_->hide();
    if (iconCom_) iconCom_->hide();
}

void Canvas::待ち時間(double seconds) { waiter_(seconds); }

// Each tile as 描画_絵 draws it, all through one painter: setting a painter up and taking it
// down cost more than the tile it drew.
void Canvas::tileBackground()
{
    QPainter painter(&devicePixels());
    for (int x = -2; x <= 20; ++x) {
        for (int y = -2; y <= 15; ++y) paintPicture(painter, PIC_BACKGROUND, x, y);
    }
    painter.end();
    changed();
}

void Canvas::drawPosition()
{
    描画_桝_数値();
    for (int k = 1; k <= pieceKinds; ++k) {
        描画_敵持駒(k);
        描画_自持駒(k);
    }
    描画_盤();
    描画_手数(game_.moveNumber);
}

void Canvas::animatePickUp()
{
    using namespace std::chrono;
    constexpr duration<double> frameLength(0.1);
    for (const int frame : {PIC_PIECE_MEDIUM, PIC_PIECE_SMALL, PIC_BURST_LARGE, PIC_BURST_SMALL}) {
        // A frame lasts 0.1 s from the start of its drawing, so the drawing does not stretch it.
        const auto started = steady_clock::now();
        paintMarkedSquares(frame);
        refresh();
        const duration<double> spent = steady_clock::now() - started;
        待ち時間(std::max(0.0, (frameLength - spent).count()));
    }
}

void Canvas::drawMarkedSquaresEmpty() { paintMarkedSquares(PIC_EMPTY); }

void Canvas::paintMarkedSquares(int code)
{
    QPainter painter(&devicePixels());
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            if (game_.removeMark[x][y] != ON) continue;
            paintPicture(painter, code, x, y);
            paintOutline(painter, backgroundColor, x, y);
        }
    }
    painter.end();
    changed();
}

}  // namespace quolvet
