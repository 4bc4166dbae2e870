// Packs the committed pictures into plain pixels for the game to paint from without decoding:
//   quolvet_pack_pictures OUTPUT.cpp OUTPUT.bin PICTURE.png...
// A picture's scale is its folder's name ("2x" holds the 2× pictures; any other folder 1×).
// OUTPUT.bin holds the pixels, each picture 64-byte aligned, opaque ones as RGB32 and
// transparent ones as premultiplied ARGB32; OUTPUT.cpp links them into the program's read-only
// data and lists where each picture starts (packed_pictures.h).

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>

#include <cstdio>
#include <vector>

namespace {

constexpr qsizetype alignment = 64;

struct Entry {
    QString name;
    QString scale;
    QImage pixels;
    qsizetype offset;
};

QString scaleOf(const QFileInfo& file) {
    static const QRegularExpression scaled(QStringLiteral("^([0-9]+(\\.[0-9]+)?)x$"));
    const QRegularExpressionMatch match = scaled.match(file.dir().dirName());
    return match.hasMatch() ? match.captured(1) : QStringLiteral("1");
}

// A change of pixels alone leaves the listing as it was; naming their hash in it makes the
// compiler (and ccache) see a new source whenever the pixels change.
quint32 fnv1a(const QByteArray& bytes) {
    quint32 hash = 2166136261u;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 16777619u;
    }
    return hash;
}

QString asmQuoted(QString path) {
    return path.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
}

bool write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp OUTPUT.bin PICTURE.png...\n", argv[0]);
        return 2;
    }
    const QString listingPath = QString::fromLocal8Bit(argv[1]);
    const QString pixelsPath = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();

    std::vector<Entry> entries;
    QByteArray pixels;
    for (int i = 3; i < argc; ++i) {
        const QFileInfo file(QString::fromLocal8Bit(argv[i]));
        QImage image(file.filePath());
        if (image.isNull()) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 1;
        }
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                              : QImage::Format_RGB32);
        pixels.append((alignment - pixels.size() % alignment) % alignment, '\0');
        entries.push_back({file.completeBaseName(), scaleOf(file), image, pixels.size()});
        for (int y = 0; y < image.height(); ++y)
            pixels.append(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 4);
    }

    QString listing = QStringLiteral(
        "// Written by quolvet_pack_pictures from the committed pictures; pixels %1.\n"
        "#include \"packed_pictures.h\"\n\n"
        "asm(\".pushsection .rodata.quolvet_pictures, \\\"a\\\", @progbits\\n\"\n"
        "    \".balign %2\\n\"\n"
        "    \".globl quolvet_picture_pixels\\n\"\n"
        "    \".hidden quolvet_picture_pixels\\n\"\n"
        "    \".type quolvet_picture_pixels, @object\\n\"\n"
        "    \"quolvet_picture_pixels:\\n\"\n"
        "    \".incbin \\\"%3\\\"\\n\"\n"
        "    \".size quolvet_picture_pixels, . - quolvet_picture_pixels\\n\"\n"
        "    \".popsection\\n\");\n\n"
        "namespace quolvet {\n\n"
        "static const PackedPicture entries[] = {\n")
                          .arg(fnv1a(pixels), 8, 16, QLatin1Char('0'))
                          .arg(alignment)
                          .arg(asmQuoted(asmQuoted(pixelsPath)));
    for (const Entry& entry : entries) {
        listing += QStringLiteral("    {\"%1\", %2, %3, %4, %5, %6},\n")
                       .arg(entry.name, entry.scale)
                       .arg(entry.pixels.width())
                       .arg(entry.pixels.height())
                       .arg(entry.offset)
                       .arg(entry.pixels.hasAlphaChannel() ? QStringLiteral("true") : QStringLiteral("false"));
    }
    listing += QStringLiteral("};\n\nconst std::span<const PackedPicture> packedPictures(entries);\n\n}  // namespace quolvet\n");
    return write(pixelsPath, pixels) && write(listingPath, listing.toUtf8()) ? 0 : 1;
}
