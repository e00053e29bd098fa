// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderLister.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <windows.h>

// Folders on Windows, read through Qt: names are text.
namespace {

// A drive root asks the drive first: an empty card reader or DVD drive is
// not ready, and says so at once.
bool ready(const QString &folder)
{
    if (folder.size() != 3 || folder.at(1) != QLatin1Char(':'))
        return true;
    const auto *root = reinterpret_cast<const wchar_t *>(folder.utf16());
    if (GetDriveTypeW(root) == DRIVE_NO_ROOT_DIR)
        return false;
    const UINT before = SetErrorMode(SEM_FAILCRITICALERRORS);
    const bool answered = GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0) != 0;
    SetErrorMode(before);
    return answered;
}

} // namespace

bool FolderLister::readEntries(const QString &folder, const Progress &progress, FolderListing &listing)
{
    (void)progress;  // the listing comes in one piece
    if (!ready(folder))
        return false;
    const QDir dir(folder);
    if (!dir.exists() || !dir.isReadable())
        return false;
    const QFileInfoList entries = dir.entryInfoList(QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir())
            listing.folders.append(entry.fileName());
        else if (!entry.isHidden())
            listing.files.append(entry.fileName());
    }
    return true;
}

std::optional<qint64> FolderLister::modified(const QString &file) const
{
    const QFileInfo info(file);
    if (!info.isFile())
        return std::nullopt;
    return info.lastModified().toMSecsSinceEpoch() * 1000000;
}
