// SPDX-License-Identifier: GPL-3.0-or-later
// render-icons DIR NAME: writes the window icon for the hicolor theme,
// DIR/<size>x<size>/apps/<NAME>.png for each size the desktop asks for.
// render-icons --ico FILE: writes it as a Windows icon file, for the
// program's icon resource.
#include "Artwork.h"
#include "IconFile.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <cstdio>
#include <cstring>

namespace {

int writeIconFile(const QString &path)
{
    QList<QImage> images;
    for (const int size : {16, 24, 32, 48, 64, 256})
        images.append(Artwork::windowIcon(size));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.write(IconFile::encode(images)) || !file.flush()) {
        std::fprintf(stderr, "render-icons: cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}

int writeThemeIcons(const QString &root, const QString &name)
{
    for (const int size : {32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(folder) || !Artwork::windowIcon(size).save(folder + '/' + name + ".png")) {
            std::fprintf(stderr, "render-icons: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: render-icons DIR NAME | render-icons --ico FILE\n");
        return 2;
    }
    if (std::strcmp(argv[1], "--ico") == 0)
        return writeIconFile(QString::fromLocal8Bit(argv[2]));
    return writeThemeIcons(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
}
