// Sets every text of play once, as the window would, and packs the device pixels each inks:
//   quolvet_pack_texts OUTPUT.cpp
// For each scale the pictures come in, and at 1.5 for each parity of the text's corner, a text is
// set twice, at two corners of that phase, and packed only if both ink the same pixels: the
// window then inks it at any corner of that phase without the font (packed_texts.h). Without a
// Mincho face the listing is empty and the window sets every text itself.

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <tuple>
#include <vector>

#include "packed_texts.h"
#include "text.h"

namespace {

struct PrintedText {
    QString text;
    int points;
};

// Every text the window prints in play, with its size: the column numbers (16 points), the row
// kanji (12), the hand counts (14), the move counter (12, a game ends by move 80) and its
// caption (10). Counts beyond these are set when printed.
std::vector<PrintedText> textsInPlay() {
    std::vector<PrintedText> texts;
    for (int value = 1; value <= 9; ++value) {
        texts.push_back({quolvet::printedNumber(value, 0), 16});
        texts.push_back({quolvet::printedNumber(value, 1), 12});
    }
    for (int count = 1; count <= 40; ++count) texts.push_back({quolvet::printedNumber(count, 0), 14});
    for (int count = 0; count <= 80; ++count) texts.push_back({quolvet::printedNumber(count, 0), 12});
    texts.push_back({quolvet::caption(99), 10});
    return texts;
}

struct Set {
    QByteArray text;
    int points;
    double scale;
    int phaseX;
    int phaseY;
    QSize box;
    std::vector<quolvet::InkRun> runs;
};

// The runs of ink of `text` set with its corner at `corner` (pixels), relative to the device
// pixel where that corner falls.
std::vector<quolvet::InkRun> ink(const QString& text, int points, double scale, QPoint corner, QSize& box) {
    const QSize size(int(std::ceil((corner.x() + 200) * scale)), int(std::ceil((corner.y() + 100) * scale)));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    box = quolvet::setText(painter, corner, text, Qt::white, points, true, scale);
    painter.end();
    const int left = int(std::floor(corner.x() * scale));
    const int top = int(std::floor(corner.y() * scale));
    std::vector<quolvet::InkRun> runs;
    const QRgb white = QColor(Qt::white).rgb();
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width();) {
            if (line[x] != white) {
                ++x;
                continue;
            }
            int end = x;
            while (end < image.width() && line[end] == white) ++end;
            runs.push_back({int16_t(y - top), int16_t(x - left), int16_t(end - x)});
            x = end;
        }
    }
    return runs;
}

bool same(const std::vector<quolvet::InkRun>& a, const std::vector<quolvet::InkRun>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const quolvet::InkRun& p, const quolvet::InkRun& q) {
        return p.y == q.y && p.x == q.x && p.length == q.length;
    });
}

QString cQuoted(const QByteArray& bytes) {
    QString quoted;
    for (const char byte : bytes) quoted += QStringLiteral("\\x%1").arg(uint(uchar(byte)), 2, 16, QLatin1Char('0'));
    return quoted;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString face = quolvet::installedMincho();

    std::vector<Set> sets;
    int dropped = 0;
    for (const double scale : {1.0, 1.5, 2.0, 3.0}) {
        const int phases = scale == std::floor(scale) ? 1 : 2;
        for (int phaseX = 0; phaseX < phases; ++phaseX) {
            for (int phaseY = 0; phaseY < phases; ++phaseY) {
                for (const auto& [text, points] : face.isEmpty() ? std::vector<PrintedText>() : textsInPlay()) {
                    Set set{text.toUtf8(), points, scale, phaseX, phaseY, {}, {}};
                    if (set.text.size() >= qsizetype(sizeof(quolvet::PackedText::text))) {
                        ++dropped;
                        continue;
                    }
                    QSize again;
                    set.runs = ink(text, points, scale, QPoint(20 + phaseX, 20 + phaseY), set.box);
                    if (!same(set.runs, ink(text, points, scale, QPoint(46 + phaseX, 34 + phaseY), again)) || again != set.box) {
                        ++dropped;
                        continue;
                    }
                    sets.push_back(std::move(set));
                }
            }
        }
    }
    if (dropped) std::fprintf(stderr, "%d texts too long to pack or inking differently at other corners are set when printed\n", dropped);
    std::sort(sets.begin(), sets.end(), [](const Set& a, const Set& b) {
        return std::tie(a.scale, a.phaseX, a.phaseY, a.points) < std::tie(b.scale, b.phaseX, b.phaseY, b.points) ||
               (std::tie(a.scale, a.phaseX, a.phaseY, a.points) == std::tie(b.scale, b.phaseX, b.phaseY, b.points) &&
                std::strcmp(a.text.constData(), b.text.constData()) < 0);
    });

    QString entries, runs;
    int firstRun = 0;
    for (const Set& set : sets) {
        entries += QStringLiteral("    {\"%1\", %2, %3, %4, %5, %6, %7, %8, %9},\n")
                       .arg(cQuoted(set.text))
                       .arg(set.points)
                       .arg(set.scale)
                       .arg(set.phaseX)
                       .arg(set.phaseY)
                       .arg(set.box.width())
                       .arg(set.box.height())
                       .arg(firstRun)
                       .arg(set.runs.size());
        for (const quolvet::InkRun& run : set.runs) runs += QStringLiteral("{%1,%2,%3},").arg(run.y).arg(run.x).arg(run.length);
        runs += QLatin1Char('\n');
        firstRun += int(set.runs.size());
    }
    const QString listing =
        QStringLiteral(
            "// Written by quolvet_pack_texts: the texts of play set in \"%1\".\n"
            "#include \"packed_texts.h\"\n\n"
            "namespace quolvet {\n\n"
            "static const PackedText entries[] = {\n%2};\n\n"
            "static const InkRun inkRuns[] = {\n%3};\n\n"
            "const std::span<const PackedText> packedTexts(entries, %4);\n"
            "const std::span<const InkRun> packedInkRuns(inkRuns, %5);\n"
            "const char* const packedTextFace = \"%1\";\n\n"
            "}  // namespace quolvet\n")
            .arg(face, entries.isEmpty() ? QStringLiteral("    {}\n") : entries,
                 runs.isEmpty() ? QStringLiteral("{}\n") : runs)
            .arg(sets.size())
            .arg(firstRun);
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(listing.toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
