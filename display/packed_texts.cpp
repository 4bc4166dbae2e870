#include "packed_texts.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>

#include <QColor>
#include <QImage>
#include <QPainter>

namespace quolvet {
namespace {

auto keyOf(const PackedText& entry) { return std::tuple(entry.scale, entry.phaseX, entry.phaseY, entry.points); }

const PackedText* find(const QByteArray& text, int points, double ratio, int phaseX, int phaseY)
{
    if (text.size() >= qsizetype(sizeof(PackedText::text))) return nullptr;
    PackedText wanted{{}, points, ratio, phaseX, phaseY, 0, 0, 0, 0};
    std::memcpy(wanted.text, text.constData(), size_t(text.size()));
    const auto before = [](const PackedText& a, const PackedText& b) {
        if (keyOf(a) != keyOf(b)) return keyOf(a) < keyOf(b);
        return std::strcmp(a.text, b.text) < 0;
    };
    const auto found = std::lower_bound(packedTexts.begin(), packedTexts.end(), wanted, before);
    if (found == packedTexts.end() || before(wanted, *found)) return nullptr;
    return &*found;
}

}  // namespace

std::optional<QSize> inkPackedText(QPainter& painter, QPoint topLeft, const QString& text, const QColor& colour,
                                   int points, double ratio, const QString& face)
{
    if (face != QLatin1String(packedTextFace) || painter.hasClipping()) return std::nullopt;
    const QTransform place = painter.deviceTransform();
    if (place.type() > QTransform::TxTranslate || place.dx() != std::floor(place.dx()) ||
        place.dy() != std::floor(place.dy()) || painter.device()->devType() != QInternal::Image)
        return std::nullopt;
    auto& image = static_cast<QImage&>(*painter.device());
    if (image.format() != QImage::Format_RGB32) return std::nullopt;
    // At a scale of a half the glyphs fall on whole or half device pixels, by the corner's parity.
    const bool whole = ratio == std::floor(ratio);
    const PackedText* packed =
        find(text.toUtf8(), points, ratio, whole ? 0 : topLeft.x() & 1, whole ? 0 : topLeft.y() & 1);
    if (!packed) return std::nullopt;

    const int left = int(std::floor(topLeft.x() * ratio + place.dx()));
    const int top = int(std::floor(topLeft.y() * ratio + place.dy()));
    const QRgb ink = colour.rgb() | 0xff000000u;
    uchar* const pixels = image.bits();
    for (const InkRun& run : packedInkRuns.subspan(packed->firstRun, packed->runs)) {
        const int y = top + run.y;
        const int from = std::max(0, left + run.x);
        const int to = std::min(image.width(), left + run.x + run.length);
        if (y < 0 || y >= image.height() || from >= to) continue;
        auto* line = reinterpret_cast<QRgb*>(pixels + qsizetype(y) * image.bytesPerLine());
        std::fill(line + from, line + to, ink);
    }
    return QSize(packed->advance, packed->height);
}

}  // namespace quolvet
