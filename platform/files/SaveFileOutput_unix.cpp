// SPDX-License-Identifier: GPL-3.0-or-later
// The save on Linux and other POSIX systems.
#include "SaveFileOutput.h"

#include "FileError.h"
#include "FileRefusals.h"

#include "NativeFiles.h"
#include "SaveTemporaryName.h"
#include "SystemFileIdentity_unix.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// How much is written between two requests to start writing it to disk.
constexpr std::uint64_t writeBackStep = std::uint64_t{4} << 20;
constexpr std::size_t largestWrite = std::size_t{1} << 30;
// How many random names are tried before the folder is given up.
constexpr int namesToTry = 100;

bool sameFile(const struct stat &a, const struct stat &b)
{
    return identityOf(a) == identityOf(b);
}

// What a save of this user leaves behind: an ordinary file of its own with
// no other name.
bool isOurLeftover(const struct stat &status)
{
    return S_ISREG(status.st_mode) && status.st_uid == ::geteuid() && status.st_nlink == 1;
}

// The bits a new file is given where there is no earlier one: those the
// umask leaves of 0666. Read where the system tells it (Linux), so that the
// process's umask is not changed; elsewhere it is set and put back at once.
mode_t newFileMode()
{
#ifdef __linux__
    if (FILE *status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status) != nullptr)
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found)
            return 0666 & ~static_cast<mode_t>(mask);
    }
#endif
    const mode_t mask = ::umask(0077);
    ::umask(mask);
    return 0666 & ~mask;
}

bool ignorableModeFailure(int error)
{
    // The file system holds no modes of its own (FAT, some network shares).
    return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP;
}

bool ignorableOwnerFailure(int error)
{
    // Not allowed (a group the user is not in), or an owner the file system
    // or the user's namespace cannot hold.
    return ignorableModeFailure(error) || error == EINVAL;
}

} // namespace

SaveFileOutput::SaveFileOutput(const std::string &path)
    : m_path(path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".")
        : slash == 0                                      ? std::string("/")
                                                          : path.substr(0, slash);
    m_name = slash == std::string::npos ? path : path.substr(slash + 1);
    m_folder = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_folder < 0)
        fail(NativeFiles::reason(errno));
    try {
        inspectEarlier();
        removeLeftovers();
        create();
    } catch (...) {
        discard();
        throw;
    }
}

SaveFileOutput::~SaveFileOutput()
{
    discard();
}

// The name itself, never what it may point to.
void SaveFileOutput::inspectEarlier()
{
    struct stat status {};
    if (::fstatat(m_folder, m_name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT)
            return;
        fail(NativeFiles::reason(errno));  // a name too long, a folder that may not be searched
    }
    if (S_ISLNK(status.st_mode))
        fail(FileRefusals::outputIsLink);
    if (S_ISDIR(status.st_mode))
        fail(FileRefusals::outputIsFolder);
    if (!S_ISREG(status.st_mode))
        fail(FileRefusals::outputIsNotOrdinary);
    m_earlier = Earlier{identityOf(status), static_cast<unsigned>(status.st_mode & 07777), status.st_uid,
                        status.st_gid};
}

// A save holds its file locked from its making until it is in place, so a
// leftover that can be locked belongs to no run. Only what a run of this
// user can have left is removed: never another user's file (in a shared
// folder, or when run as root), nor a second name of another file.
void SaveFileOutput::removeLeftovers()
{
    const int listing = ::fcntl(m_folder, F_DUPFD_CLOEXEC, 0);
    DIR *folder = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (folder == nullptr) {
        if (listing >= 0)
            ::close(listing);
        return;
    }
    while (const dirent *entry = ::readdir(folder)) {
        struct stat named {};
        if (!SaveTemporaryName::isOne(entry->d_name)
            || ::fstatat(m_folder, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(named.st_mode))
            continue;
        const int file = ::openat(m_folder, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (file < 0)
            continue;
        struct stat held {};
        if (::fstat(file, &held) == 0 && sameFile(held, named) && isOurLeftover(held)
            && ::flock(file, LOCK_EX | LOCK_NB) == 0
            && ::fstatat(m_folder, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(held, named))
            ::unlinkat(m_folder, entry->d_name, 0);
        ::close(file);
    }
    ::closedir(folder);
}

void SaveFileOutput::create()
{
#ifdef O_TMPFILE
    // Private while it is written: its final bits come at commit().
    m_file = ::openat(m_folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (m_file >= 0) {
        ::flock(m_file, LOCK_EX | LOCK_NB);  // for the moment it has a name in putInPlace()
    } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        fail(NativeFiles::reason(errno));
    }
#endif
    for (int i = 0; m_file < 0 && i < namesToTry; ++i) {
        const std::string name = SaveTemporaryName::make();
        const int file = ::openat(m_folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (file < 0) {
            if (errno == EEXIST)
                continue;
            fail(NativeFiles::reason(errno));
        }
        // Another run may have taken it for a leftover before it was locked:
        // then that run removes it, and another name is tried. (A system
        // without locks lets no run remove another's file.)
        struct stat mine {}, named {};
        if ((::flock(file, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) && ::fstat(file, &mine) == 0
            && ::fstatat(m_folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(mine, named)) {
            m_file = file;
            m_temporaryName = name;
        } else {
            ::close(file);
        }
    }
    if (m_file < 0)
        fail(FileRefusals::noNewFile);
    m_hold = ::fcntl(m_file, F_DUPFD_CLOEXEC, 0);
    if (m_hold < 0)
        fail(NativeFiles::reason(errno));
}

void SaveFileOutput::write(const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(m_file, data, std::min(size, largestWrite));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail(NativeFiles::reason(errno));
        }
        if (written == 0)
            fail(NativeFiles::reason(ENOSPC));
        data += written;
        size -= static_cast<std::size_t>(written);
        m_written += static_cast<std::uint64_t>(written);
    }
    if (m_written - m_writeBackStart >= writeBackStep)
        startWriteBack();
}

// Has the system start writing what is written so far, so that the flush
// in commit() finds little left to do.
void SaveFileOutput::startWriteBack()
{
#ifdef __linux__
    // Only a hint: a system that cannot do it still writes the file in commit().
    ::sync_file_range(m_file, static_cast<off_t>(m_writeBackStart),
                      static_cast<off_t>(m_written - m_writeBackStart), SYNC_FILE_RANGE_WRITE);
    if (!m_flush)
        m_flush.emplace(m_file);
    m_flush->request();
#endif
    m_writeBackStart = m_written;
}

void SaveFileOutput::commit()
{
    giveFinalMode();
#ifdef __linux__
    // A flush under way goes on beside the last one; its failure, the earlier,
    // is the one reported.
    if (m_flush)
        m_flush->stop();
    const int lastFailure = ::fdatasync(m_file) != 0 ? errno : 0;
    if (m_flush) {
        const int failed = m_flush->finish();
        m_flush.reset();
        if (failed != 0)
            fail(NativeFiles::reason(failed));
    }
    if (lastFailure != 0)
        fail(NativeFiles::reason(lastFailure));
#else
    if (::fsync(m_file) != 0)
        fail(NativeFiles::reason(errno));
#endif
    const int file = m_file;
    m_file = -1;
    // After EINTR Linux has closed the file all the same.
    if (::close(file) != 0 && errno != EINTR)
        fail(NativeFiles::reason(errno));
    putInPlace();
    if (::fsync(m_folder) != 0 && errno != EINVAL && errno != ENOTSUP && errno != EOPNOTSUPP)
        throw FileError(FileError::Operation::FlushFolder, m_path, NativeFiles::reason(errno));
}

// The earlier file's bits, or a new file's where there is none.
void SaveFileOutput::giveFinalMode()
{
    const bool root = ::geteuid() == 0;
    if (m_earlier) {
        // Owner first: a change of owner clears the set-user-ID bits.
        // Kept where the system lets it be (root, a group the user is in); the
        // file is the user's own either way, so only a failing disk fails here.
        const uid_t owner = root ? m_earlier->owner : static_cast<uid_t>(-1);
        if (::fchown(m_file, owner, m_earlier->group) != 0 && !ignorableOwnerFailure(errno))
            fail(NativeFiles::reason(errno));
    }
    const mode_t wanted = m_earlier ? m_earlier->mode & (root ? 07777 : 0777) : newFileMode();
    struct stat status {};
    if (::fstat(m_file, &status) != 0)
        fail(NativeFiles::reason(errno));
    if ((status.st_mode & 07777) != wanted && ::fchmod(m_file, wanted) != 0 && !ignorableModeFailure(errno))
        fail(NativeFiles::reason(errno));
}

void SaveFileOutput::putInPlace()
{
    if (m_temporaryName.empty()) {
        // An unnamed file is given a name by linking it; a link never
        // replaces a name, so where there is an earlier file the link is
        // made under a temporary name first.
        const std::string self = "/proc/self/fd/" + std::to_string(m_hold);
        const auto link = [&](const std::string &name) {
            if (::linkat(AT_FDCWD, self.c_str(), m_folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                return true;
            return errno == ENOENT && ::linkat(m_hold, "", m_folder, name.c_str(), AT_EMPTY_PATH) == 0;
        };
        if (!m_earlier) {
            if (link(m_name))
                return;
            if (errno != EEXIST)
                fail(NativeFiles::reason(errno));
        }
        for (int i = 0; m_temporaryName.empty() && i < namesToTry; ++i) {
            const std::string name = SaveTemporaryName::make();
            if (link(name))
                m_temporaryName = name;
            else if (errno != EEXIST)
                fail(NativeFiles::reason(errno));
        }
        if (m_temporaryName.empty())
            fail(FileRefusals::noNewFile);
    }
    if (::renameat(m_folder, m_temporaryName.c_str(), m_folder, m_name.c_str()) != 0)
        fail(NativeFiles::reason(errno));
    m_temporaryName.clear();
}

void SaveFileOutput::discard()
{
    m_flush.reset();
    if (m_file >= 0)
        ::close(m_file);
    if (!m_temporaryName.empty())
        ::unlinkat(m_folder, m_temporaryName.c_str(), 0);
    if (m_hold >= 0)
        ::close(m_hold);
    if (m_folder >= 0)
        ::close(m_folder);
    m_file = m_hold = m_folder = -1;
    m_temporaryName.clear();
}
