// SPDX-License-Identifier: GPL-3.0-or-later
#include "SaveFileOutput.h"

#include "FileError.h"

#ifdef __linux__
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// How much is written between two requests to start writing it to disk.
constexpr qint64 writeBackStep = qint64{8} << 20;

} // namespace

namespace {

#ifdef __linux__
// The folder held open, so that a folder whose name is not valid text is
// reached by its own bytes: the file is written as
// /proc/self/fd/<folder>/<name>, the same file in the same folder.
int openFolder(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == 0 ? std::string("/") : path.substr(0, slash);
    return slash == std::string::npos ? -1 : ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

QString reachable(const std::string &path, int folder)
{
    if (QString::fromUtf8(path).toUtf8().toStdString() == path || folder < 0)
        return QString::fromUtf8(path);
    return QStringLiteral("/proc/self/fd/%1/").arg(folder) + QString::fromUtf8(path.substr(path.rfind('/') + 1));
}
#endif

} // namespace

SaveFileOutput::SaveFileOutput(const std::string &path)
    : m_path(path)
{
#ifdef __linux__
    m_folder.descriptor = openFolder(path);
    m_file.setFileName(reachable(path, m_folder.descriptor));
#else
    m_file.setFileName(QString::fromUtf8(path));
#endif
    if (!m_file.open(QIODevice::WriteOnly))
        fail();
}

SaveFileOutput::Folder::~Folder()
{
#ifdef __linux__
    if (descriptor >= 0)
        ::close(descriptor);
#endif
}

void SaveFileOutput::write(const char *data, std::size_t size)
{
    while (size > 0) {
        const qint64 written = m_file.write(data, static_cast<qint64>(size));
        if (written <= 0)
            fail();
        data += written;
        size -= static_cast<std::size_t>(written);
        m_written += written;
    }
    if (m_written - m_writeBackStart >= writeBackStep)
        startWriteBack();
}

// Has the system start writing what is written so far, so that the flush
// before the rename in commit() finds little left to do.
void SaveFileOutput::startWriteBack()
{
#ifdef __linux__
    if (!m_file.flush())
        fail();
    // Only a hint: a system that cannot do it still writes the file in commit().
    sync_file_range(m_file.handle(), m_writeBackStart, m_written - m_writeBackStart, SYNC_FILE_RANGE_WRITE);
#endif
    m_writeBackStart = m_written;
}

void SaveFileOutput::commit()
{
    if (!m_file.commit())
        fail();
}

void SaveFileOutput::fail()
{
    throw FileError(FileError::Operation::Write, m_path, m_file.errorString().toStdString());
}
