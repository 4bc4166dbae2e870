#include "pictures.h"

#include <array>
#include <cmath>
#include <cstring>

#include <QDebug>
#include <QPixmap>

#include "packed_pictures.h"
#include "palette.h"
#include "window_icon.h"

namespace quolvet {

namespace {

constexpr std::array<const char*, 8> idleNames{"HU_2",  "KYOU_2", "KEI_2", "GIN_2",
                                               "KIN_2", "KAKU_2", "SYA_2", "OU_2"};
constexpr std::array<const char*, 8> activeNames{"SITA_HU",  "SITA_KYOU", "SITA_KEI", "SITA_GIN",
                                                 "SITA_KIN", "SITA_KAKU", "SITA_SYA", "SITA_OU"};

const char* pictureName(int code)
{
    if (code >= 1 && code <= 8) return idleNames[code - 1];
    if (code >= -8 && code <= -1) return activeNames[-code - 1];
    switch (code) {
    case PIC_EMPTY: return "KARA_MASU";
    case PIC_TITLE: return "QXSHOGI";
    case PIC_BACKGROUND: return "HAIKEI";
    case PIC_BURST_LARGE: return "PA1";
    case PIC_BURST_SMALL: return "PA2";
    case PIC_PIECE_SMALL: return "KOMA_SYO";
    case PIC_PIECE_MEDIUM: return "KOMA_CYU";
    default: return nullptr;
    }
}

const PackedPicture* packed(const char* name, double scale)
{
    for (const PackedPicture& picture : packedPictures)
        if (picture.scale == scale && std::strcmp(picture.name, name) == 0) return &picture;
    return nullptr;
}

// The pixels where they lie: read-only, so painting from them never copies them.
QImage wrap(const PackedPicture& picture)
{
    return QImage(quolvet_picture_pixels + picture.offset, picture.width, picture.height, picture.width * 4,
                  picture.alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

double nearestScale(double ratio)
{
    double best = 1;
    for (const double scale : {1.5, 2.0, 3.0})
        if (std::abs(scale - ratio) <= std::abs(best - ratio)) best = scale;
    return best;
}

QImage drawnFor(const char* name, double ratio)
{
    const PackedPicture* atOne = packed(name, 1);
    const PackedPicture* nearest = packed(name, nearestScale(ratio));
    if (!atOne || !nearest) {
        qWarning().noquote() << "絵がありません:" << name;
        return {};
    }
    if (nearest->scale == ratio) return wrap(*nearest);
    const QSize size(static_cast<int>(std::ceil(atOne->width * ratio)), static_cast<int>(std::ceil(atOne->height * ratio)));
    return wrap(*nearest).scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

QImage loadPicture(int code, double ratio)
{
    const char* name = pictureName(code);
    return name ? drawnFor(name, ratio) : QImage();
}

QImage loadIcon(TurnIcon icon, double ratio) { return drawnFor(icon == TurnIcon::man ? "ICO_MAN" : "ICO_COM", ratio); }

QIcon quolvetWindowIcon()
{
    const PackedPicture* icon = packed("QUOLVET_ICON", 1);
    return icon ? QIcon(QPixmap::fromImage(wrap(*icon))) : QIcon();
}

}  // namespace quolvet
