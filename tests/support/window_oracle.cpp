#include "window_oracle.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

namespace quolvet::oracle {
namespace {

// The layout, in twips at 15 to a pixel, rounded half up.
int pixel(double twips) { return static_cast<int>(std::floor(twips / 15 + 0.5)); }
QPoint twips(double x, double y) { return {pixel(x), pixel(y)}; }
double columnTwips(double column) { return 700 + column * 495; }
double rowTwips(double row) { return 100 + row * 615; }

const QImage& picture(const std::string& name) {
    static std::map<std::string, QImage> loaded;
    QImage& image = loaded[name];
    if (image.isNull())
        image = QImage(QString::fromStdString(QUOLVET_ASSETS_DIR "/" + name + ".png")).convertToFormat(QImage::Format_RGB32);
    return image;
}

std::string pieceName(int code) {
    static const char* const kinds[] = {"HU", "KYOU", "KEI", "GIN", "KIN", "KAKU", "SYA", "OU"};
    if (code == 0) return "KARA_MASU";
    return code > 0 ? std::string(kinds[code - 1]) + "_2" : "SITA_" + std::string(kinds[-code - 1]);
}

// Draws as a freshly opened window does; every text is bold once the first board is drawn.
class Painter {
public:
    explicit Painter(QImage& image) : painter_(&image) {}

    void put(const std::string& name, double column, double row) {
        painter_.drawImage(cellCorner(column, row), picture(name));
    }
    // One pixel wide, its right and bottom sides on the neighbours' first column and row.
    // An aliased one-pixel pen strokes a rectangle one pixel wider and higher than its size.
    void outline(double column, double row, const QColor& colour) {
        painter_.setPen(colour);
        painter_.drawRect(QRect(cellCorner(column, row), cellCorner(column + 1, row + 1) - QPoint(1, 1)));
    }
    void print(double x, double y, const QString& text, const QColor& colour, int points) {
        QFont font(QStringLiteral("IPAPMincho"));
        font.setPixelSize(static_cast<int>(std::lround(points * 4.0 / 3.0)));
        font.setBold(true);
        font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging));
        painter_.setFont(font);
        painter_.setPen(colour);
        painter_.drawText(twips(x, y) + QPoint(0, QFontMetrics(font).ascent()), text);
    }
    // A number with a blank for its sign and one after it, or a kanji numeral, over its shadow.
    void shadowed(double column, double row, int value, const QColor& colour, int points, bool kanji = false) {
        static const QString numerals = QStringLiteral("一二三四五六七八九");
        const QString text = kanji ? numerals.mid(value - 1, 1) : QStringLiteral(" %1 ").arg(value);
        print(columnTwips(column + 0.1), rowTwips(row + 0.1), text, Qt::black, points);
        print(columnTwips(column), rowTwips(row), text, colour, points);
    }

private:
    QPainter painter_;
};

// The upper hand down column −1 from row 1, the lower one down column 11 from row 2, each
// count in the column beside its piece.
void drawHands(Painter& paint, const Game& game) {
    for (int k = 1; k <= pieceKinds; ++k) {
        for (const auto& [count, column, row] : {std::tuple{game.enemyHand[k], -1.0, k + 0.0}, {game.ownHand[k], 11.0, k + 1.0}}) {
            paint.put(count ? pieceName(k) : "KARA_MASU", column, row);
            paint.put("HAIKEI", column + 1, row);
            if (count) paint.shadowed(column + 1, row + 0.2, count, Qt::magenta, 14);
            paint.outline(column, row, Qt::darkGreen);
        }
        paint.outline(1, k, Qt::darkGreen);  // the count's tile reaches into the board square beside it
    }
}

void drawCounter(Painter& paint, int count) {
    paint.put("HAIKEI", 13, 3);
    paint.put("HAIKEI", 14, 3);
    const double shift = count < 10 ? 0 : count < 100 ? 0.1 : 0.2;
    paint.shadowed(12.9 - shift, 3.3, count, Qt::white, 12);
    for (const auto& [column, row, colour] : {std::tuple{13.8, 3.2, Qt::black}, std::tuple{13.7, 3.1, Qt::white}})
        paint.print(columnTwips(column) + 120, rowTwips(row) + 160, QStringLiteral("手目"), colour, 10);
}

QRect cellArea(double column, double row, double columns = 1, double rows = 1) {
    return {cellCorner(column, row), cellCorner(column + columns, row + rows) - QPoint(1, 1)};
}

// Stepping back repaints the background tile beside the lower-left square, which covers that
// square's left outline until the square is next drawn.
bool steppedBackTile(QPoint at, QRgb shown) {
    static const QPoint tile = cellCorner(0, 9), square = cellCorner(1, 9), below = cellCorner(1, 10);
    if (at.x() != square.x() || at.y() < tile.y() || at.y() >= below.y()) return false;
    return picture("HAIKEI").pixel(at - tile) == shown;
}

// Whether a cell shows a picture, its outline row and column aside.
bool shows(const QImage& screen, QPoint topLeft, const std::string& name) {
    const QImage& wanted = picture(name);
    const QRect inside(topLeft + QPoint(1, 1), wanted.size() - QSize(1, 1));
    if (!screen.rect().contains(inside)) return false;
    for (int y = 0; y < inside.height(); ++y) {
        const auto* shown = reinterpret_cast<const QRgb*>(screen.constScanLine(inside.top() + y)) + inside.left();
        const auto* drawn = reinterpret_cast<const QRgb*>(wanted.constScanLine(y + 1)) + 1;
        if (!std::equal(shown, shown + inside.width(), drawn)) return false;
    }
    return true;
}

}  // namespace

QPoint cellCorner(double column, double row) { return twips(columnTwips(column), rowTwips(row)); }

QImage expectedWindow(const Game& game) {
    const QPoint end = twips(8500, 8100);  // the window's outer size: no more is ever seen
    QImage image(end.x(), end.y(), QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    Painter paint(image);
    for (int x = -2; x <= 20; ++x)
        for (int y = -2; y <= 15; ++y) paint.put("HAIKEI", x, y);
    for (int i = 1; i <= 9; ++i) {
        paint.shadowed(i + 0.1, 0.4, 10 - i, Qt::white, 16);
        paint.shadowed(10.1, i + 0.3, i, Qt::white, 12, true);
    }
    drawHands(paint, game);
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            paint.put("KARA_MASU", x, y);
            if (game.board[x][y] != EMPTY) paint.put(pieceName(game.board[x][y]), x, y);
            paint.outline(x, y, Qt::darkGreen);
        }
    }
    drawCounter(paint, game.moveNumber);
    paint.put("QXSHOGI", 11.5, 0);
    return image;
}

static std::string partAt(QPoint at) {
    const auto within = [&](const QRect& area) { return area.adjusted(0, 0, 1, 1).contains(at); };
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (within(cellArea(x, y))) return "square " + std::to_string(x) + "," + std::to_string(y);
    if (within(QRect(cellCorner(12.7, 3), cellCorner(15, 4) - QPoint(1, 1)))) return "counter";
    for (int k = 1; k <= pieceKinds; ++k) {
        if (within(cellArea(-1, k))) return "upper hand " + std::to_string(k);
        if (within(cellArea(0, k))) return "upper count " + std::to_string(k);
        if (within(cellArea(11, k + 1))) return "lower hand " + std::to_string(k);
        if (within(cellArea(12, k + 1))) return "lower count " + std::to_string(k);
    }
    if (cellArea(1, 0, 9, 1).contains(at) || cellArea(10, 1, 1, 9).contains(at)) return "labels";
    if (QRect(cellCorner(11.5, 0), QSize(115, 57)).contains(at)) return "title";
    return "background";
}

std::vector<std::string> differences(const QImage& shown, const QImage& expected) {
    if (shown.size() != expected.size()) return {"the whole window (its size)"};
    const QImage a = shown.convertToFormat(QImage::Format_RGB32);
    const int width = a.width();
    // Which part each pixel belongs to, worked out once a pixel: searching every time would
    // dominate the soak. Images of any width up to the stride share the one map.
    constexpr int stride = 1024;
    static std::set<std::string> names;
    static std::vector<const std::string*> partOf(stride * stride);
    if (width > stride || a.height() > stride) return {"the whole window (its size)"};
    std::set<std::string> parts;
    for (int y = 0; y < a.height(); ++y) {
        const auto* left = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* right = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
        if (std::equal(left, left + width, right)) continue;
        for (int x = 0; x < width; ++x) {
            if (left[x] == right[x] || steppedBackTile({x, y}, left[x])) continue;
            const std::string*& part = partOf[y * stride + x];
            if (!part) part = &*names.insert(partAt({x, y})).first;
            parts.insert(*part);
        }
    }
    return {parts.begin(), parts.end()};
}

std::optional<int> pieceShownAt(const QImage& screen, QPoint topLeft) {
    for (int code = -8; code <= 8; ++code)
        if (shows(screen, topLeft, pieceName(code))) return code;
    return std::nullopt;
}

std::string pictureShownAt(const QImage& screen, QPoint topLeft) {
    if (const auto code = pieceShownAt(screen, topLeft)) return pieceName(*code);
    for (const char* frame : {"KOMA_CYU", "KOMA_SYO", "PA1", "PA2"})
        if (shows(screen, topLeft, frame)) return frame;
    return {};
}

}  // namespace quolvet::oracle
