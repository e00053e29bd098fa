// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderLister.h"

#include <algorithm>

// What every system shares; each system's reading of a folder is in
// FolderLister_unix.cpp or FolderLister_win.cpp.
namespace {

void sortByName(QStringList &names)
{
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
}

} // namespace

FolderListing FolderLister::list(const QString &folder, const Progress &progress) const
{
    FolderListing listing;
    listing.folder = folder;
    if (folder.isEmpty() || !readEntries(folder, progress, listing))
        return listing;
    sortByName(listing.folders);
    sortByName(listing.files);
    listing.listed = true;
    return listing;
}
