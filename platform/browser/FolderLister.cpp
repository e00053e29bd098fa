// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderLister.h"

#include "NativePaths.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

void sortByName(QStringList &names)
{
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
}

#ifdef Q_OS_WIN
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
#endif

} // namespace

// How many entries are read between two reports of progress.
constexpr int entriesPerReport = 256;

FolderListing FolderLister::list(const QString &folder, const Progress &progress) const
{
    FolderListing listing;
    listing.folder = folder;
#ifdef Q_OS_WIN
    (void)progress;  // the listing comes in one piece
    if (folder.isEmpty() || !ready(folder))
        return listing;
    const QDir dir(folder);
    if (!dir.exists() || !dir.isReadable())
        return listing;
    const QFileInfoList entries = dir.entryInfoList(QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir())
            listing.folders.append(entry.fileName());
        else if (!entry.isHidden())
            listing.files.append(entry.fileName());
    }
#else
    // By the name's own bytes: a name that is not valid text is listed too.
    if (folder.isEmpty())
        return listing;
    const QByteArray path = NativePaths::toNative(folder);
    const int descriptor = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return listing;
    DIR *dir = ::fdopendir(descriptor);
    if (dir == nullptr) {
        ::close(descriptor);
        return listing;
    }
    int sinceReport = 0;
    while (const dirent *entry = ::readdir(dir)) {
        if (progress && ++sinceReport == entriesPerReport) {
            progress();
            sinceReport = 0;
        }
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        bool isFile = entry->d_type == DT_REG;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            // A link counts as what it leads to; one that leads nowhere is left out.
            struct stat target {};
            if (::fstatat(descriptor, entry->d_name, &target, 0) != 0)
                continue;
            isFolder = S_ISDIR(target.st_mode);
            isFile = S_ISREG(target.st_mode);
        }
        // Named pipes, devices and sockets are no log files.
        if (isFolder)
            listing.folders.append(NativePaths::fromNative(name));
        else if (isFile && !name.startsWith('.'))
            listing.files.append(NativePaths::fromNative(name));
    }
    ::closedir(dir);
#endif
    sortByName(listing.folders);
    sortByName(listing.files);
    listing.listed = true;
    return listing;
}

std::optional<qint64> FolderLister::modified(const QString &file) const
{
#ifdef Q_OS_WIN
    const QFileInfo info(file);
    if (!info.isFile())
        return std::nullopt;
    return info.lastModified().toMSecsSinceEpoch() * 1000000;
#else
    // By the name's own bytes, as the folders were listed.
    struct stat status {};
    if (::stat(NativePaths::toNative(file).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
#endif
}
