// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderLister.h"

#include "NativePaths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Folders on Linux and other POSIX systems, read by the names' own bytes.
namespace {

// How many entries are read between two reports of progress.
constexpr int entriesPerReport = 256;

} // namespace

bool FolderLister::readEntries(const QString &folder, const Progress &progress, FolderListing &listing)
{
    // By the name's own bytes: a name that is not valid text is listed too.
    const QByteArray path = NativePaths::toNative(folder);
    const int descriptor = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    DIR *dir = ::fdopendir(descriptor);
    if (dir == nullptr) {
        ::close(descriptor);
        return false;
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
    return true;
}

std::optional<qint64> FolderLister::modified(const QString &file) const
{
    // By the name's own bytes, as the folders were listed.
    struct stat status {};
    if (::stat(NativePaths::toNative(file).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}
