// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSource.h"

#include "FileError.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

FileSource::FileSource(const std::string &path)
    : m_path(path)
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
}

std::size_t FileSource::read(char *buffer, std::size_t capacity)
{
    const auto wanted = static_cast<qint64>(
        std::min<std::size_t>(capacity, std::numeric_limits<int>::max()));
    const qint64 got = m_file.read(buffer, wanted);
    if (got < 0)
        throw FileError(FileError::Operation::Read, m_path, m_file.errorString().toStdString());
    return static_cast<std::size_t>(got);
}
