// SPDX-License-Identifier: GPL-3.0-or-later
#include "DriveList.h"

#include "NativePaths.h"

#include <QDir>
#include <QStorageInfo>

namespace {

// Volumes by their top folder, in native form, the root first.
QStringList driveRoots()
{
    QStringList roots;
#ifdef Q_OS_WIN
    for (const QFileInfo &drive : QDir::drives())
        roots.append(NativePaths::display(drive.absoluteFilePath()));
#else
    roots.append(QDir::rootPath());
    const QString home = QStorageInfo(QDir::homePath()).rootPath();
    if (!home.isEmpty() && !roots.contains(home))
        roots.append(home);
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        const bool removable = root.startsWith(QLatin1String("/media/")) || root.startsWith(QLatin1String("/run/media/"))
            || root.startsWith(QLatin1String("/mnt/")) || root.startsWith(QLatin1String("/Volumes/"));
        if (removable && !roots.contains(root))
            roots.append(root);
    }
#endif
    return roots;
}

} // namespace

DriveList::DriveList(QWidget *parent)
    : QComboBox(parent)
{
    refresh();
    connect(this, &QComboBox::activated, this, &DriveList::changed);
}

QString DriveList::drive() const
{
    return currentText();
}

void DriveList::setDriveOf(const QString &path)
{
    // The longest drive root that the path lies under.
    const QString native = NativePaths::display(path);
    int best = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemText(i);
        if (NativePaths::isUnder(native, root) && (best < 0 || root.size() > itemText(best).size()))
            best = i;
    }
    if (best >= 0)
        setCurrentIndex(best);
}

void DriveList::refresh()
{
    const QString chosen = currentText();
    const QSignalBlocker quiet(this);
    clear();
    addItems(driveRoots());
    const int again = findText(chosen);
    if (again >= 0)
        setCurrentIndex(again);
}
