#include "text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QStringList>

namespace quolvet {

QString printedNumber(int value, int mode)
{
    if (mode == 0) {
        const QString sign = value < 0 ? QStringLiteral("-") : QStringLiteral(" ");
        return sign + QString::number(std::abs(value)) + QLatin1Char(' ');
    }
    static const std::array<QString, 9> kanji{
        QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"),
        QStringLiteral("四"), QStringLiteral("五"), QStringLiteral("六"),
        QStringLiteral("七"), QStringLiteral("八"), QStringLiteral("九"),
    };
    if (value < 1 || value > 9) return {};
    return kanji[value - 1];
}

QString caption(int code)
{
    if (code == 99) return QStringLiteral("手目");
    return {};
}

// The Mincho faces, most wanted first.
static const QStringList& minchoFamilies()
{
    static const QStringList families{QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho"),
                                      QStringLiteral("Noto Serif CJK JP"), QStringLiteral("IPAexMincho")};
    return families;
}

// Without a Japanese face the kanji come out as empty boxes. The game still plays, so it draws
// with whatever face there is and says once, where a player starting it from a terminal sees it,
// what to install.
QString installedMincho()
{
    static const QString installed = [] {
        const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
        if (japanese.isEmpty()) {
            std::fputs("quolvet: no Japanese font found, the kanji will not show; "
                       "install the package fonts-ipafont-mincho\n", stderr);
        }
        for (const QString& family : minchoFamilies())
            if (japanese.contains(family, Qt::CaseInsensitive)) return family;
        return QString();
    }();
    return installed;
}

QFont textFont(int points, bool bold)
{
    const bool mincho = !installedMincho().isEmpty();
    QFont font;
    // Whatever Mincho is installed, so the kanji always come out in a serif face.
    font.setFamilies(minchoFamilies());
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(static_cast<int>(std::lround(points * 4.0 / 3.0)));
    font.setBold(bold);
    // Plain palette colours, like the rest of the pixel art. Every character the window prints
    // is in each Mincho face, so with one installed Qt need not line up fallback faces for
    // missing glyphs: that costs a sort of every installed font, a few milliseconds of start-up.
    font.setStyleStrategy(mincho ? QFont::StyleStrategy(QFont::NoAntialias | QFont::NoFontMerging)
                                 : QFont::NoAntialias);
    return font;
}

QSize setText(QPainter& painter, QPoint topLeft, const QString& text, const QColor& colour, int points, bool bold,
              double ratio)
{
    const QFont font = textFont(points, bold);
    painter.setFont(font);
    painter.setPen(colour);
    const QFontMetrics metrics(font);
    // The glyphs are set at the device's resolution from the same font, at the same places.
    painter.save();
    painter.scale(ratio, ratio);
    painter.drawText(QPoint(topLeft.x(), topLeft.y() + metrics.ascent()), text);
    painter.restore();
    return {metrics.horizontalAdvance(text), metrics.height()};
}

}  // namespace quolvet
