// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

// What one reading of a folder found.
struct FolderListing
{
    QString folder;       // the folder read, as NativePaths holds paths
    bool listed = false;  // false: not ready, gone, or not to be read
    QStringList folders;  // its sub-folders, hidden ones too
    QStringList files;    // its files, hidden ones left out
};

// Reads folders for the browser's lists. list() is only ever called away
// from the window's thread, because it waits as long as the disk takes: a
// network share that is gone or a disk that sleeps may keep it for minutes.
// A drive's readiness is part of it (on Windows, whether a disk is in the
// drive). A list can be handed another lister (FolderReader::setLister), so
// that a disk that does not answer can be stood in for.
class FolderLister
{
public:
    virtual ~FolderLister() = default;

    // Called now and then from the reading's thread while a folder's entries
    // come in: a folder that is still being read is slow, not gone.
    using Progress = std::function<void()>;

    // Names come as NativePaths holds them; sorted by name, letter case aside.
    virtual FolderListing list(const QString &folder, const Progress &progress) const;

    // When the ordinary file `file` was last written, in nanoseconds since
    // 1970; none where it is no ordinary file or is not there. Waits as
    // list() does.
    virtual std::optional<qint64> modified(const QString &file) const;

private:
    // Each system's reading of the folder's entries into `listing`; false
    // where the folder is not ready, gone, or not to be read.
    static bool readEntries(const QString &folder, const Progress &progress, FolderListing &listing);
};
