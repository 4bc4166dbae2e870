// Draws every bitmap of the game into a folder, the same bytes on every run:
//   quolvet_draw_assets display/assets
// Nothing here reads the clock or an unseeded generator, glyphs come from the IPA Mincho
// font file itself (no fontconfig substitution), and PNGs are written with fixed settings.
// The game's pictures are drawn at 1× into the folder and anew at 1.5×, 2× and 3× into its
// subfolders 1.5x, 2x, 3x for denser screens: every shape is a vector or a function of the
// position, so each scale is as sharp as the first, and 1× stays what it always was.

#include <QGuiApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

constexpr int pieceWidth = 33;
constexpr int pieceHeight = 41;

// The scales drawn, with the folder each goes to (the 1× pictures lie in the folder itself).
struct Scale {
    double factor;
    const char* folder;
};
const Scale scales[] = {{1, ""}, {1.5, "1.5x"}, {2, "2x"}, {3, "3x"}};

// A picture of `width` × `height` pixels at `scale`: whole device pixels, the last partly
// covered at 1.5×. The game shows only as much of it as its cell covers there.
QImage canvasFor(int width, int height, double scale, QImage::Format format) {
    return QImage(static_cast<int>(std::ceil(width * scale)), static_cast<int>(std::ceil(height * scale)),
                  format);
}

// A painter over image that draws in 1× pixels.
void scaleTo(QPainter& p, double scale) {
    if (scale != 1) p.scale(scale, scale);
}

const QColor inkBlack(0, 0, 0);
const QColor shadeOrange(255, 128, 64);
const QColor idleFace(255, 255, 64);
const QColor idleKingFace(255, 255, 21);
const QColor activeFace(255, 255, 128);
const QColor burstPink(255, 0, 128);
const QColor squiggleRed(150, 0, 0);
const QColor titleInk(70, 70, 35);
const QColor woodDark(206, 187, 96);
const QColor woodLight(239, 220, 129);
const QColor pieceRim(190, 140, 40);

// A small xorshift generator: the grain must come out the same on every machine and run.
class Rng {
public:
    explicit Rng(std::uint32_t seed) : state_(seed ? seed : 0x9e3779b9u) {}
    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    double unit() { return next() / 4294967296.0; }

private:
    std::uint32_t state_;
};

// Each picture gets its own grain, so neighbouring squares do not look stamped.
std::uint32_t seedOf(const QString& name) {
    std::uint32_t h = 2166136261u;
    for (QChar c : name) {
        h ^= c.unicode();
        h *= 16777619u;
    }
    return h;
}

QColor mix(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor(std::lround(a.red() + (b.red() - a.red()) * t),
                  std::lround(a.green() + (b.green() - a.green()) * t),
                  std::lround(a.blue() + (b.blue() - a.blue()) * t));
}

// Straight-grained board wood: the grain runs down the square, wavering a little, with a few
// darker late-wood lines; every tone stays between woodDark and woodLight. The grain is a
// function of the position in 1× pixels, sampled at each device pixel's centre; the fleck
// is drawn per device pixel, so it stays as fine as a pixel at every scale.
QImage woodGround(const QString& name, double scale, int width = pieceWidth, int height = pieceHeight) {
    Rng rng(seedOf(name));
    const double phase1 = rng.unit() * 6.283;
    const double phase2 = rng.unit() * 6.283;
    const double waveFreq = 0.08 + rng.unit() * 0.06;
    const double waveAmp = 0.8 + rng.unit() * 1.2;
    std::vector<double> lines;
    for (int i = 0; i < 5; ++i) lines.push_back(rng.unit() * width);

    QImage image = canvasFor(width, height, scale, QImage::Format_RGB32);
    for (int dy = 0; dy < image.height(); ++dy) {
        const double y = (dy + 0.5) / scale - 0.5;
        for (int dx = 0; dx < image.width(); ++dx) {
            const double x = (dx + 0.5) / scale - 0.5;
            const double u = x + waveAmp * std::sin(y * waveFreq + phase1);
            double t = 0.62 + 0.18 * std::sin(u * 0.9 + phase2) + 0.08 * std::sin(u * 2.3);
            for (double line : lines) {
                const double d = std::abs(u - line);
                if (d < 1.2) t -= 0.35 * (1.2 - d);
            }
            t += (rng.unit() - 0.5) * 0.10;
            image.setPixelColor(dx, dy, mix(woodDark, woodLight, t));
        }
    }
    return image;
}

// The outline of an upright shogi piece inside box: point at the top, shoulders a fifth of the
// way down, widening slightly to the base.
QPolygonF pieceOutline(const QRectF& box) {
    const double cx = box.center().x();
    const double w = box.width();
    const double h = box.height();
    return QPolygonF({
        QPointF(cx, box.top()),
        QPointF(box.left() + w * 0.10, box.top() + h * 0.20),
        QPointF(box.left(), box.bottom()),
        QPointF(box.right(), box.bottom()),
        QPointF(box.right() - w * 0.10, box.top() + h * 0.20),
    });
}

// A piece seen slightly from the lower left: its orange side shows along the left and bottom
// edges, the face (filled with the given brush) on top.
void paintPieceBody(QPainter& p, const QRectF& faceBox, const QBrush& face, const QColor& rim,
                    double side) {
    const QPolygonF outline = pieceOutline(faceBox);
    p.setPen(Qt::NoPen);
    p.setBrush(shadeOrange);
    // Sweep the face outline towards the lower left so the side reads as one solid edge.
    for (int i = 1; i <= 4; ++i) {
        const double f = i / 4.0;
        p.drawPolygon(outline.translated(-side * f, side * f));
    }
    p.setBrush(face);
    p.setPen(QPen(rim, 0.8));
    p.drawPolygon(outline);
}

// Idle pieces are flat saturated yellow; active ones are paler and glow almost cream in the
// middle, so the pieces that can move stand out across the board at a glance.
QBrush idleBrush(const QColor& face) { return QBrush(face); }

QBrush activeBrush(const QRectF& faceBox) {
    QRadialGradient glow(faceBox.center() + QPointF(0, faceBox.height() * 0.08),
                         faceBox.height() * 0.55);
    glow.setColorAt(0.0, QColor(255, 255, 222));
    glow.setColorAt(0.45, QColor(255, 255, 190));
    glow.setColorAt(1.0, activeFace);
    return QBrush(glow);
}

QFont mincho(int pixelSize) {
    QFont font("IPAPMincho");
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

// Draws one glyph centred on centre, a touch heavier than the font's own hairline strokes so
// the small mincho stays legible.
void paintGlyph(QPainter& p, QChar ch, const QFont& font, QPointF centre, const QColor& ink,
                double weight) {
    QPainterPath path;
    path.addText(0, 0, font, QString(ch));
    const QRectF r = path.boundingRect();
    path.translate(centre - r.center());
    p.setBrush(ink);
    p.setPen(weight > 0 ? QPen(ink, weight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                        : QPen(Qt::NoPen));
    p.drawPath(path);
}

const QRectF pieceFaceBox(5.5, 1.5, 25, 36);

QImage pieceImage(const QString& name, const QString& label, const QBrush& face, double scale) {
    QImage image = woodGround(name, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    scaleTo(p, scale);
    paintPieceBody(p, pieceFaceBox, face, pieceRim, 2.0);
    const QFont font = mincho(13);
    const double cx = pieceFaceBox.center().x();
    paintGlyph(p, label[0], font, QPointF(cx, 16.5), inkBlack, 0.55);
    paintGlyph(p, label[1], font, QPointF(cx, 30.0), inkBlack, 0.55);
    return image;
}

// The brush mark that stands for a piece already on its way into the hand.
void paintSquiggle(QPainter& p, const QRectF& area, double width) {
    QPainterPath path;
    const int turns = 3;
    path.moveTo(area.left(), area.center().y());
    for (int i = 0; i < turns; ++i) {
        const double x0 = area.left() + area.width() * i / turns;
        const double x1 = area.left() + area.width() * (i + 1) / turns;
        const double up = (i % 2 == 0) ? area.top() : area.bottom();
        path.quadTo(QPointF((x0 + x1) / 2, up), QPointF(x1, area.center().y()));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(squiggleRed, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

QImage blankPieceImage(const QString& name, const QRectF& faceBox, double side, double ink, double scale) {
    QImage image = woodGround(name, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    scaleTo(p, scale);
    paintPieceBody(p, faceBox, activeBrush(faceBox), pieceRim, side);
    const double mx = faceBox.width() * 0.2;
    const QRectF mark(faceBox.left() + mx, faceBox.top() + faceBox.height() * 0.42,
                      faceBox.width() - 2 * mx, faceBox.height() * 0.28);
    paintSquiggle(p, mark, ink);
    return image;
}

// Rays of alternating length from the centre of the square; the large burst also gets a
// bright core.
QImage burstImage(const QString& name, int rays, double longRay, double shortRay, double inner,
                  double width, double scale) {
    QImage image = woodGround(name, scale);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    scaleTo(p, scale);
    const QPointF c(pieceWidth / 2.0, pieceHeight / 2.0);
    for (int i = 0; i < rays; ++i) {
        const double a = 2 * std::numbers::pi * i / rays + std::numbers::pi / rays / 2;
        const double len = (i % 2 == 0) ? longRay : shortRay;
        const QPointF dir(std::cos(a), std::sin(a));
        QPolygonF ray({c + dir * inner + QPointF(-dir.y(), dir.x()) * width,
                       c + dir * len,
                       c + dir * inner - QPointF(-dir.y(), dir.x()) * width});
        p.setPen(Qt::NoPen);
        p.setBrush(burstPink);
        p.drawPolygon(ray);
    }
    p.setBrush(mix(burstPink, QColor(255, 255, 255), 0.55));
    p.drawEllipse(c, inner * 0.9, inner * 0.9);
    return image;
}

QImage backgroundTile(double scale) {
    const QColor teal(21, 185, 142);
    QImage image = canvasFor(34, pieceHeight, scale, QImage::Format_RGB32);
    for (int dy = 0; dy < image.height(); ++dy) {
        // Two light rows, two darker ones. The tile is 41 rows high, one more than ten
        // stripes: that last row takes a middle tone, so stacked tiles show no seam. A device
        // row belongs to the 1× row that covers it, as the game places pixels.
        const int y = static_cast<int>(std::floor((dy + 1e-6) / scale));
        const int phase = y % 4;
        QColor row = phase < 2 ? teal : teal.darker(phase == 2 ? 112 : 108);
        if (y == pieceHeight - 1) row = teal.darker(104);
        for (int dx = 0; dx < image.width(); ++dx) image.setPixelColor(dx, dy, row);
    }
    return image;
}

QImage titlePlate(double scale) {
    QImage image = canvasFor(115, 57, scale, QImage::Format_RGB32);
    image.fill(shadeOrange);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    scaleTo(p, scale);
    p.setPen(Qt::NoPen);
    // Lit from the upper left: the right side is orange, the bottom side a shade darker.
    p.setBrush(shadeOrange.darker(115));
    p.drawPolygon(QPolygonF({QPointF(0, 53), QPointF(4, 57), QPointF(115, 57), QPointF(111, 53)}));
    p.setBrush(QColor(255, 255, 128));
    p.drawRect(QRectF(0, 0, 111, 53));
    QPainterPath word;
    word.addText(0, 0, mincho(26), "Quolvet");
    word.translate(QPointF(55.5, 18) - word.boundingRect().center());
    p.setBrush(titleInk);
    p.setPen(QPen(titleInk, 0.7));
    p.drawPath(word);
    QPainterPath sub;
    sub.addText(0, 0, mincho(15), QString::fromUtf8("拾い将棋"));
    sub.translate(QPointF(55.5, 41) - sub.boundingRect().center());
    p.setPen(QPen(titleInk, 0.5));
    p.drawPath(sub);
    return image;
}

QImage personIcon(double scale) {
    QImage image = canvasFor(32, 32, scale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    scaleTo(p, scale);
    QPainterPath body;
    body.addEllipse(QPointF(15, 6), 3.6, 3.6);
    // Trunk, legs, one arm down and one raised.
    auto limb = [&](QPointF a, QPointF b) {
        QPainterPath l;
        l.moveTo(a);
        l.lineTo(b);
        QPainterPathStroker s;
        s.setWidth(3.8);
        s.setCapStyle(Qt::RoundCap);
        body = body.united(s.createStroke(l));
    };
    limb({15, 10}, {15, 19});
    limb({15, 19}, {10.5, 29.5});
    limb({15, 19}, {19.5, 29.5});
    limb({15, 12.5}, {10, 20});
    limb({15, 12.5}, {21, 8});
    limb({21, 8}, {23.5, 2.5});
    p.setPen(QPen(QColor(0, 0, 0), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 255, 255));
    p.drawPath(body.simplified());
    return image;
}

QImage computerIcon(double scale) {
    QImage image = canvasFor(32, 32, scale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    scaleTo(p, scale);
    const QPen edge(QColor(0, 0, 0), 1.0);
    p.setPen(edge);
    // Monitor.
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(QRectF(6.5, 1.5, 19, 14));
    p.setBrush(QColor(0, 0, 128));
    p.drawRect(QRectF(9.5, 4.5, 13, 8));
    // System unit under the monitor.
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(QRectF(3.5, 16.5, 25, 6));
    p.setBrush(QColor(0, 160, 0));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(22, 19, 3, 1.5));
    p.setPen(edge);
    p.setBrush(QColor(60, 60, 60));
    p.drawRect(QRectF(7, 18.5, 10, 1.2));
    // Keyboard in front.
    p.setBrush(QColor(192, 192, 192));
    QPolygonF kb({QPointF(4.5, 24.5), QPointF(27.5, 24.5), QPointF(30.5, 30.5), QPointF(1.5, 30.5)});
    p.drawPolygon(kb);
    p.setPen(QPen(QColor(96, 96, 96), 0.8));
    for (int i = 0; i < 2; ++i) {
        const double y = 26.6 + i * 2;
        p.drawLine(QPointF(5.5 - i, y), QPointF(26.5 + i, y));
    }
    return image;
}

// The standard 16 colours: the window icon is drawn smooth and then held to them.
QImage toSixteenColours(const QImage& source) {
    static const QRgb palette[16] = {
        qRgb(0, 0, 0),       qRgb(0, 0, 128),     qRgb(0, 128, 0),   qRgb(0, 128, 128),
        qRgb(128, 0, 0),     qRgb(128, 0, 128),   qRgb(128, 128, 0), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(0, 0, 255),     qRgb(0, 255, 0),   qRgb(0, 255, 255),
        qRgb(255, 0, 0),     qRgb(255, 0, 255),   qRgb(255, 255, 0), qRgb(255, 255, 255)};
    QImage out(source.size(), QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            const QRgb c = source.pixel(x, y);
            int best = 0;
            long bestDistance = -1;
            for (int i = 0; i < 16; ++i) {
                const long dr = qRed(c) - qRed(palette[i]);
                const long dg = qGreen(c) - qGreen(palette[i]);
                const long db = qBlue(c) - qBlue(palette[i]);
                const long d = dr * dr + dg * dg + db * db;
                if (bestDistance < 0 || d < bestDistance) {
                    bestDistance = d;
                    best = i;
                }
            }
            out.setPixel(x, y, palette[best]);
        }
    }
    return out;
}

QImage windowIcon() {
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 128));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF faceBox(6.5, 1.5, 22, 27);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(128, 128, 0));
    for (int i = 1; i <= 4; ++i) p.drawPolygon(pieceOutline(faceBox).translated(-i * 0.6, i * 0.6));
    p.setPen(QPen(QColor(0, 0, 0), 1.0));
    p.setBrush(QColor(255, 255, 0));
    p.drawPolygon(pieceOutline(faceBox));
    paintGlyph(p, QString::fromUtf8("拾")[0], mincho(17), QPointF(17.5, 18.0), inkBlack, 0.9);
    p.end();
    return toSixteenColours(image);
}

// Convex hull (counter-clockwise) of a handful of points.
QPolygonF convexHull(std::vector<QPointF> points) {
    std::sort(points.begin(), points.end(), [](const QPointF& a, const QPointF& b) {
        return a.x() < b.x() || (a.x() == b.x() && a.y() < b.y());
    });
    const auto cross = [](const QPointF& o, const QPointF& a, const QPointF& b) {
        return (a.x() - o.x()) * (b.y() - o.y()) - (a.y() - o.y()) * (b.x() - o.x());
    };
    std::vector<QPointF> hull(2 * points.size());
    std::size_t k = 0;
    for (const QPointF& pt : points) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], pt) <= 0) --k;
        hull[k++] = pt;
    }
    for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    return QPolygonF(QList<QPointF>(hull.begin(), hull.end()));
}

// The window icon's design for the desktop menus, drawn afresh at each size instead of scaled
// from 32 pixels: a yellow piece bearing 拾 on a blue tile. The tile and the piece's base sit
// on whole pixels (or pixel centres for odd outline widths), so their edges stay sharp.
QImage applicationIcon(int size) {
    const double u = size / 32.0;
    const int rim = std::max(1, static_cast<int>(std::lround(u)));
    const double snap = (rim % 2) ? 0.5 : 0.0;
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, size);
    sky.setColorAt(0.0, QColor(30, 60, 190));
    sky.setColorAt(1.0, QColor(0, 0, 128));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    const double corner = std::round(5 * u);
    p.drawRoundedRect(QRectF(0, 0, size, size), corner, corner);

    const double left = std::round(7 * u) + snap;
    const double right = size - std::round(4 * u) - snap;
    const double top = std::round(2 * u) + snap;
    const double bottom = size - std::round(5 * u) - snap;
    const QRectF faceBox(left, top, right - left, bottom - top);
    const QPolygonF face = pieceOutline(faceBox);

    // The piece's thickness, seen from the lower left as on the board.
    const double depth = std::round(2.5 * u);
    std::vector<QPointF> swept;
    for (const QPointF& pt : face) {
        swept.push_back(pt);
        swept.push_back(pt + QPointF(-depth, depth));
    }
    p.setBrush(QColor(190, 120, 0));
    p.setPen(QPen(QColor(0, 0, 0), rim, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPolygon(convexHull(swept));

    QLinearGradient light(faceBox.topLeft(), faceBox.bottomRight());
    light.setColorAt(0.0, QColor(255, 255, 120));
    light.setColorAt(1.0, QColor(255, 230, 0));
    p.setBrush(light);
    p.drawPolygon(face);

    const QPointF centre(faceBox.center().x(), faceBox.top() + faceBox.height() * 0.6);
    if (size >= 128) {
        paintGlyph(p, QString::fromUtf8("拾")[0], mincho(std::lround(17 * u)), centre, inkBlack,
                   0.9 * std::sqrt(u));
        return image;
    }
    // Small sizes: the font's own hinting puts the stems on whole pixels, and a bold face
    // keeps the mincho's hairlines from fading out.
    QFont font = mincho(std::lround(17 * u));
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setBold(true);
    const QString mark = QString::fromUtf8("拾");
    const QRect ink = QFontMetrics(font).tightBoundingRect(mark);
    const QPoint origin(std::lround(centre.x() - ink.width() / 2.0) - ink.left(),
                        std::lround(centre.y() - ink.height() / 2.0) - ink.top());
    p.setFont(font);
    p.setPen(inkBlack);
    p.drawText(origin, mark);
    return image;
}

const int applicationIconSizes[] = {32, 48, 64, 128, 256};

struct Piece {
    const char* idleName;
    const char* activeName;
    const char* label;
};

const Piece pieces[] = {
    {"HU_2", "SITA_HU", "歩兵"},   {"KYOU_2", "SITA_KYOU", "香車"}, {"KEI_2", "SITA_KEI", "桂馬"},
    {"GIN_2", "SITA_GIN", "銀将"}, {"KIN_2", "SITA_KIN", "金将"},   {"KAKU_2", "SITA_KAKU", "角行"},
    {"SYA_2", "SITA_SYA", "飛車"}, {"OU_2", "SITA_OU", "玉将"},
};

bool save(const QImage& image, const QDir& dir, const QString& name) {
    QImage out = image;
    out.setDotsPerMeterX(3780);
    out.setDotsPerMeterY(3780);
    const QString path = dir.filePath(name + ".png");
    if (out.save(path, "PNG", 0)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// The pictures the window paints, and its two turn icons, at one scale.
bool drawPictures(const QDir& dir, double scale) {
    bool ok = true;
    for (const Piece& piece : pieces) {
        const QString label = QString::fromUtf8(piece.label);
        const bool king = QString(piece.idleName) == "OU_2";
        ok &= save(pieceImage(piece.idleName, label, idleBrush(king ? idleKingFace : idleFace), scale), dir,
                   piece.idleName);
        ok &= save(pieceImage(piece.activeName, label, activeBrush(pieceFaceBox), scale), dir, piece.activeName);
    }
    ok &= save(woodGround("KARA_MASU", scale), dir, "KARA_MASU");
    ok &= save(titlePlate(scale), dir, "QXSHOGI");
    ok &= save(backgroundTile(scale), dir, "HAIKEI");
    ok &= save(burstImage("PA1", 16, 16, 10, 3.0, 1.6, scale), dir, "PA1");
    ok &= save(burstImage("PA2", 8, 8, 5, 1.5, 1.0, scale), dir, "PA2");
    ok &= save(blankPieceImage("KOMA_SYO", QRectF(11.5, 11.5, 12, 17), 1.0, 1.3, scale), dir, "KOMA_SYO");
    ok &= save(blankPieceImage("KOMA_CYU", QRectF(8.5, 6.5, 18, 26), 1.5, 2.0, scale), dir, "KOMA_CYU");
    ok &= save(personIcon(scale), dir, "ICO_MAN");
    ok &= save(computerIcon(scale), dir, "ICO_COM");
    return ok;
}

bool loadMincho() {
    const char* files[] = {"/usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf",
                           "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf"};
    bool any = false;
    for (const char* file : files) any |= QFontDatabase::addApplicationFont(file) >= 0;
    return any && QFontDatabase::families().contains("IPAPMincho");
}

}  // namespace

int main(int argc, char** argv) {
    // Drawing needs no screen, and a real one could only bring its own settings along.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    if (!loadMincho()) {
        std::fprintf(stderr, "the IPA P Mincho font (fonts-ipafont-mincho) is not installed\n");
        return 1;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    bool ok = true;
    for (const Scale& scale : scales) {
        const QDir at(dir.filePath(scale.folder));
        if (!QDir().mkpath(at.path())) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(at.path()));
            return 1;
        }
        ok &= drawPictures(at, scale.factor);
    }
    ok &= save(windowIcon(), dir, "QUOLVET_ICON");
    if (!QDir().mkpath(dir.filePath("icons"))) {
        std::fprintf(stderr, "cannot create %s/icons\n", argv[1]);
        return 1;
    }
    for (int size : applicationIconSizes)
        ok &= save(applicationIcon(size), dir, QString("icons/quolvet-%1").arg(size));
    return ok ? 0 : 1;
}
