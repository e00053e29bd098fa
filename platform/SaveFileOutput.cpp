// SPDX-License-Identifier: GPL-3.0-or-later
#include "SaveFileOutput.h"

#include "FileError.h"

#ifdef __linux__
#include <fcntl.h>
#endif

namespace {

// How much is written between two requests to start writing it to disk.
constexpr qint64 writeBackStep = qint64{8} << 20;

} // namespace

SaveFileOutput::SaveFileOutput(const std::string &path)
    : m_path(path)
    , m_file(QString::fromUtf8(path))
{
    if (!m_file.open(QIODevice::WriteOnly))
        fail();
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
