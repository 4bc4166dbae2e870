#include "text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include <QFontDatabase>
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
// what to install. Returns whether one of the Mincho faces is installed.
static bool minchoInstalled()
{
    static const bool installed = [] {
        const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
        if (japanese.isEmpty()) {
            std::fputs("quolvet: no Japanese font found, the kanji will not show; "
                       "install the package fonts-ipafont-mincho\n", stderr);
        }
        return std::any_of(minchoFamilies().begin(), minchoFamilies().end(),
                           [&](const QString& family) { return japanese.contains(family, Qt::CaseInsensitive); });
    }();
    return installed;
}

QFont textFont(int points, bool bold)
{
    const bool mincho = minchoInstalled();
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

}  // namespace quolvet
