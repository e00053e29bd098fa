// SPDX-License-Identifier: GPL-3.0-or-later
#include "DecoderFolders.h"

#include "NativePaths.h"

#include <QDir>
#include <QStandardPaths>

namespace DecoderFolders {

QList<Location> locations()
{
    // The Flatpak's sandboxes exist on Linux only; elsewhere they are looked
    // for and never found.
    QList<Location> found{
        {NativePaths::normalised(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)), {}}};
    const QString sandboxes = QDir::homePath() + QStringLiteral("/.var/app/");
    found.append({NativePaths::normalised(sandboxes + QStringLiteral("io.sourceforge.wsjt.wsjtx/data")),
                  QStringLiteral(" (Flatpak)")});
    found.append({NativePaths::normalised(sandboxes + QStringLiteral("edu.princeton.physics.WSJTX/data")),
                  QStringLiteral(" (older Flatpak)")});
    return found;
}

bool isDecoderFolder(const QString &name)
{
    // In any letter case, as the names were always matched.
    for (const QString &decoder : {QStringLiteral("WSJT-X"), QStringLiteral("JTDX")}) {
        if (name.compare(decoder, Qt::CaseInsensitive) == 0
            || name.startsWith(decoder + QStringLiteral(" - "), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QList<QPair<QString, QString>> entries(const Location &location, const QStringList &folders)
{
    QList<QPair<QString, QString>> found;
    if (location.folder.isEmpty())
        return found;
    for (const QString &name : folders) {
        if (isDecoderFolder(name))
            found.append({name + QStringLiteral(" log folder") + location.origin,
                          NativePaths::normalised(location.folder + QLatin1Char('/') + name)});
    }
    return found;
}

} // namespace DecoderFolders
