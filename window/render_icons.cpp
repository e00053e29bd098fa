// SPDX-License-Identifier: GPL-3.0-or-later
// render-icons DIR: writes the window icon for the hicolor theme,
// DIR/<size>x<size>/apps/<name>.png for each size the desktop asks for.
#include "Artwork.h"

#include <QDir>
#include <QImage>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: render-icons DIR NAME\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (const int size : {32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(folder) || !Artwork::windowIcon(size).save(folder + '/' + name + ".png")) {
            std::fprintf(stderr, "render-icons: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
