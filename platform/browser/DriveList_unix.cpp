// SPDX-License-Identifier: GPL-3.0-or-later
// The drive list on Linux: volumes from the mount table, and a screen reader
// told through AT-SPI.
#include "DriveList.h"

#include "NativePaths.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QDir>

#include <mntent.h>
#include <stdio.h>

namespace {

// The mounted volumes' top folders, as the mount table lists them.
QList<QPair<QString, QByteArray>> mountTable()
{
    QList<QPair<QString, QByteArray>> mounts;
    FILE *table = ::setmntent("/proc/self/mounts", "r");
    if (table == nullptr)
        return mounts;
    mntent entry {};
    char buffer[4096];
    while (::getmntent_r(table, &entry, buffer, sizeof buffer) != nullptr)
        mounts.append({NativePaths::fromNative(entry.mnt_dir), QByteArray(entry.mnt_type)});
    ::endmntent(table);
    return mounts;
}

} // namespace

// The root, the home folder's volume, then the other volumes a user picks.
QStringList DriveList::volumeRoots()
{
    QStringList roots{QDir::rootPath()};
    const QList<QPair<QString, QByteArray>> mounts = mountTable();
    // The home folder's volume: the deepest mount above it.
    const QString homeFolder = NativePaths::normalised(QDir::homePath());
    QString home;
    for (const auto &[root, type] : mounts) {
        if (NativePaths::isUnder(homeFolder, root) && root.size() > home.size())
            home = root;
    }
    if (!home.isEmpty() && !roots.contains(home))
        roots.append(home);
    for (const auto &[root, type] : mounts) {
        if (offered(root, type) && !roots.contains(root))
            roots.append(root);
    }
    return roots;
}

void DriveList::tellEntry()
{
    if (!QAccessible::isActive())
        return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    // Where the list itself offers its selected entry, the screen reader
    // reads it from there.
    if (QAccessibleInterface *list = QAccessible::queryAccessibleInterface(this);
        list != nullptr && list->selectionInterface() != nullptr)
        return;
#endif
    // Through AT-SPI the list reports its new entry as a new name and a new
    // selection, but offers no selection to read: Orca passes over a drop-down
    // list's change of name and finds no selected entry, so it says nothing.
    // The entry is told as the list of entries tells a typed letter's entry:
    // as its focused entry, which Orca speaks. The keyboard focus stays here.
    QAccessibleEvent entry(view(), QAccessible::Focus);
    entry.setChild(currentIndex());
    QAccessible::updateAccessibility(&entry);
}
