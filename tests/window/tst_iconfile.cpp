// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows icon file of the program's icon resource, read back by Qt's
// own icon reader: every size there, pixel for pixel.
#include "Artwork.h"
#include "IconFile.h"

#include <QBuffer>
#include <QImageReader>
#include <QtTest>

class TestIconFile : public QObject
{
    Q_OBJECT

private slots:
    void readsBackEverySize_data();
    void readsBackEverySize();
};

void TestIconFile::readsBackEverySize_data()
{
    QTest::addColumn<QList<int>>("sizes");
    QTest::newRow("one bitmap") << QList<int>{32};
    QTest::newRow("odd size, mask rows padded") << QList<int>{24, 33};
    QTest::newRow("bitmaps and the PNG picture") << QList<int>{16, 24, 32, 48, 64, 256};
}

void TestIconFile::readsBackEverySize()
{
    QFETCH(QList<int>, sizes);
    QList<QImage> images;
    for (const int size : sizes)
        images.append(Artwork::windowIcon(size));

    QByteArray data = IconFile::encode(images);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    QCOMPARE(reader.imageCount(), int(sizes.size()));
    for (int i = 0; i < sizes.size(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        // Compared as the painter holds them, premultiplied: Qt's vector and
        // plain conversions out of premultiplied pixels round some
        // half-transparent ones differently (on ARM), so an image
        // unpremultiplied twice may differ in a last bit from itself.
        const QImage read = reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QVERIFY2(!read.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(read.size(), QSize(sizes[i], sizes[i]));
        QCOMPARE(read, images[i].convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
}

QTEST_GUILESS_MAIN(TestIconFile)
#include "tst_iconfile.moc"
