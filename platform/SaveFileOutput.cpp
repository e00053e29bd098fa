// SPDX-License-Identifier: GPL-3.0-or-later
#include "SaveFileOutput.h"

#include "FileError.h"

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
    }
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
