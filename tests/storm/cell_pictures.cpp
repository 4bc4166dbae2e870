#include "cell_pictures.h"

#include <cstring>

#include "pictures.h"

namespace quolvet::testing {

namespace {

constexpr int cellWidth = 33;
constexpr int cellHeight = 41;
constexpr int firstCode = -8;

}  // namespace

CellPictures::CellPictures() {
    for (int code = firstCode; code <= 8; ++code) pictures_[code - firstCode] = loadPicture(code);
}

bool CellPictures::shows(const QImage& screen, QPoint topLeft, int code) const {
    if (code < firstCode || code > 8) return false;
    const QImage& picture = pictures_[code - firstCode];
    if (picture.isNull() || screen.format() != QImage::Format_RGB32) return false;
    if (topLeft.x() < 0 || topLeft.y() < 0 || topLeft.x() + cellWidth > screen.width() ||
        topLeft.y() + cellHeight > screen.height())
        return false;
    // Row 0 and column 0 carry the outlines; the rest must be the picture, pixel for pixel.
    const size_t rowBytes = (cellWidth - 1) * sizeof(QRgb);
    for (int row = 1; row < cellHeight; ++row) {
        const auto* shown = reinterpret_cast<const QRgb*>(screen.constScanLine(topLeft.y() + row)) + topLeft.x() + 1;
        const auto* drawn = reinterpret_cast<const QRgb*>(picture.constScanLine(row)) + 1;
        if (std::memcmp(shown, drawn, rowBytes) != 0) return false;
    }
    return true;
}

std::optional<int> CellPictures::codeAt(const QImage& screen, QPoint topLeft) const {
    for (int code = firstCode; code <= 8; ++code)
        if (shows(screen, topLeft, code)) return code;
    return std::nullopt;
}

}  // namespace quolvet::testing
