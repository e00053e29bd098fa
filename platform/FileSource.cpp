// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSource.h"

#include "FileError.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

FileSource::FileSource(const std::string &path)
    : m_path(path)
    , m_file(QString::fromUtf8(path))
{
    if (QFileInfo(m_file.fileName()).isDir())
        throw FileError(FileError::Operation::Read, m_path, "This is a folder, not a file.");
    if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw FileError(FileError::Operation::Read, m_path, m_file.errorString().toStdString());
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
