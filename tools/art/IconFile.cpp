#include "tools/art/IconFile.h"

#include <QFile>
#include <QtEndian>

namespace visemer::art {
namespace {

void put16(QByteArray& out, quint16 value) {
    const quint16 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 2);
}

void put32(QByteArray& out, quint32 value) {
    const quint32 le = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&le), 4);
}

// One picture as an icon stores it: a bitmap header of twice the height,
// the pixels bottom-up in BGRA, then a 1-bit mask (all clear: alpha rules).
QByteArray iconImage(const QImage& picture) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const int maskStride = (w + 31) / 32 * 4;
    QByteArray out;
    put32(out, 40);
    put32(out, static_cast<quint32>(w));
    put32(out, static_cast<quint32>(2 * h));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, static_cast<quint32>(w * h * 4 + maskStride * h));
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.append(static_cast<char>(qBlue(line[x])));
            out.append(static_cast<char>(qGreen(line[x])));
            out.append(static_cast<char>(qRed(line[x])));
            out.append(static_cast<char>(qAlpha(line[x])));
        }
    }
    out.append(QByteArray(maskStride * h, '\0'));
    return out;
}

} // namespace

bool writeIconFile(const QList<QImage>& pictures, const QString& path) {
    QList<QByteArray> images;
    for (const QImage& picture : pictures)
        images << iconImage(picture);
    QByteArray out;
    put16(out, 0);
    put16(out, 1);
    put16(out, static_cast<quint16>(images.size()));
    quint32 offset = static_cast<quint32>(6 + 16 * images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const int size = pictures[i].width();
        out.append(static_cast<char>(size >= 256 ? 0 : size));
        out.append(static_cast<char>(size >= 256 ? 0 : pictures[i].height()));
        out.append('\0');
        out.append('\0');
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<quint32>(images[i].size()));
        put32(out, offset);
        offset += static_cast<quint32>(images[i].size());
    }
    for (const QByteArray& image : images)
        out += image;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(out) == out.size();
}

} // namespace visemer::art
