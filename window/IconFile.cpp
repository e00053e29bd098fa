// SPDX-License-Identifier: GPL-3.0-or-later
#include "IconFile.h"

#include <QBuffer>
#include <QDataStream>
#include <QImage>

namespace IconFile {

namespace {

// The bitmap form: a BITMAPINFOHEADER of twice the height (colour rows, then
// the AND mask), the colour rows bottom-up in BGRA, the 1-bit mask rows
// padded to 32 bits, set where the picture is fully transparent.
QByteArray bitmapEntry(const QImage &argb)
{
    const int size = argb.width();
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(40) << qint32(size) << qint32(2 * size) << quint16(1) << quint16(32)
        << quint32(0) << quint32(0) << qint32(0) << qint32(0) << quint32(0) << quint32(0);
    for (int y = size - 1; y >= 0; --y) {
        const auto *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < size; ++x)
            out << quint8(qBlue(row[x])) << quint8(qGreen(row[x])) << quint8(qRed(row[x]))
                << quint8(qAlpha(row[x]));
    }
    const int maskStride = ((size + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
        QByteArray mask(maskStride, '\0');
        const auto *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < size; ++x) {
            if (qAlpha(row[x]) == 0)
                mask[x / 8] = char(mask[x / 8] | (0x80 >> (x % 8)));
        }
        out.writeRawData(mask.constData(), int(mask.size()));
    }
    return data;
}

QByteArray pngEntry(const QImage &argb)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    argb.save(&buffer, "PNG");
    return data;
}

} // namespace

QByteArray encode(const QList<QImage> &images)
{
    QList<QByteArray> entries;
    for (const QImage &image : images) {
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        entries.append(argb.width() >= 256 ? pngEntry(argb) : bitmapEntry(argb));
    }

    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(images.size());
    quint32 offset = 6 + 16 * quint32(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const int size = images[i].width();
        const quint8 side = size >= 256 ? 0 : quint8(size);  // 0 stands for 256
        out << side << side << quint8(0) << quint8(0) << quint16(1) << quint16(32)
            << quint32(entries[i].size()) << offset;
        offset += quint32(entries[i].size());
    }
    for (const QByteArray &entry : entries)
        out.writeRawData(entry.constData(), int(entry.size()));
    return file;
}

} // namespace IconFile
