#include "pictures.h"

#include <array>

#include <QDebug>

#include "palette.h"
#include "window_icon.h"

// Resources compiled into a static library are only registered when something asks for them.
static void registerAssets() { Q_INIT_RESOURCE(assets); }

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

}  // namespace

void initDisplayResources()
{
    static const bool registered = (registerAssets(), true);
    (void)registered;
}

QString picturePath(int code)
{
    const char* name = pictureName(code);
    if (!name) return {};
    return QStringLiteral(":/assets/%1.png").arg(QLatin1String(name));
}

QImage loadPicture(int code)
{
    initDisplayResources();
    const QString path = picturePath(code);
    if (path.isEmpty()) return {};
    QImage picture(path);
    if (picture.isNull()) {
        qWarning().noquote() << "絵が読めません:" << path;
        return {};
    }
    return picture.convertToFormat(QImage::Format_RGB32);
}

QIcon quolvetWindowIcon()
{
    initDisplayResources();
    return QIcon(QStringLiteral(":/assets/QUOLVET_ICON.png"));
}

}  // namespace quolvet
