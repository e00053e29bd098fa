// SPDX-License-Identifier: GPL-3.0-or-later
// Offsets past 2 GiB on 32-bit systems too.
#define _FILE_OFFSET_BITS 64

#include "FileSource.h"

#include "FileError.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

FileSource::FileSource(const std::string &path)
    : m_path(path)
#ifdef _WIN32
    , m_positioned(QString::fromUtf8(path))
#endif
{
#ifdef Q_OS_WIN
    m_file.setFileName(QString::fromUtf8(path));
    if (QFileInfo(m_file.fileName()).isDir())
        throw FileError(FileError::Operation::Read, m_path, "This is a folder, not a file.");
    if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw FileError(FileError::Operation::Read, m_path, m_file.errorString().toStdString());
#else
    // Opened by the name's own bytes, which need not be valid text. Not held
    // up by a named pipe that no one writes to: such a file is refused below.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        throw FileError(FileError::Operation::Read, m_path, qt_error_string(errno).toStdString());
    struct stat status {};
    if (::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(descriptor);
        throw FileError(FileError::Operation::Read, m_path, "This is a folder, not a file.");
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    if (!m_file.open(descriptor, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        throw FileError(FileError::Operation::Read, m_path, m_file.errorString().toStdString());
    }
#endif
    if (m_file.isSequential()) {
        m_file.close();
        throw FileError(FileError::Operation::Read, m_path,
                        FileError::notOrdinaryFile);
    }
#ifdef _WIN32
    if (!m_positioned.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        fail(m_positioned);
#endif
}

std::size_t FileSource::read(char *buffer, std::size_t capacity)
{
    const auto wanted = static_cast<qint64>(
        std::min<std::size_t>(capacity, std::numeric_limits<int>::max()));
    const qint64 got = m_file.read(buffer, wanted);
    if (got < 0)
        fail(m_file);
    return static_cast<std::size_t>(got);
}

std::size_t FileSource::readAt(std::uint64_t offset, char *buffer, std::size_t capacity)
{
    std::size_t done = 0;
    while (done < capacity) {
        const std::size_t wanted = std::min<std::size_t>(capacity - done, std::numeric_limits<int>::max());
#ifdef _WIN32
        if (!m_positioned.seek(static_cast<qint64>(offset + done)))
            fail(m_positioned);
        const qint64 got = m_positioned.read(buffer + done, static_cast<qint64>(wanted));
        if (got < 0)
            fail(m_positioned);
#else
        const ssize_t got = ::pread(m_file.handle(), buffer + done, wanted, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw FileError(FileError::Operation::Read, m_path, std::strerror(errno));
#endif
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void FileSource::fail(const QFile &file) const
{
    throw FileError(FileError::Operation::Read, m_path, file.errorString().toStdString());
}
