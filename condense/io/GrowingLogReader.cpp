// SPDX-License-Identifier: GPL-3.0-or-later
#include "GrowingLogReader.h"

#include "ByteSource.h"
#include "FileError.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void changed()
{
    throw FileError(FileError::Operation::Read, std::string(), FileError::changedDuringRun);
}

} // namespace

GrowingLogReader::GrowingLogReader(ByteSource &source)
    : m_source(source)
    , m_startSize(source.size())
{
}

std::size_t GrowingLogReader::read(char *buffer, std::size_t capacity)
{
    const std::size_t got = m_source.readAt(m_position, buffer, capacity);
    // After the read: had the log been rewritten before it, the bytes in
    // front of it would now be the new ones too.
    checkLastBytes();
    keepLastBytes(buffer, got);
    m_position += got;
    if (got == 0)
        checkEnd();
    return got;
}

// The bytes read last before the piece just read are still where they were.
void GrowingLogReader::checkLastBytes()
{
    if (m_lastSize == 0)
        return;
    char again[checkedBytes];
    if (m_source.readAt(m_position - m_lastSize, again, m_lastSize) != m_lastSize
        || std::memcmp(again, m_last, m_lastSize) != 0)
        changed();
}

void GrowingLogReader::checkEnd() const
{
    if (m_startSize && m_position < *m_startSize)
        changed();
    const std::optional<std::uint64_t> size = m_source.size();
    if (size && *size < m_position)
        changed();
    if (!m_source.stillNamed())
        changed();
}

void GrowingLogReader::keepLastBytes(const char *data, std::size_t size)
{
    if (size >= checkedBytes) {
        std::memcpy(m_last, data + size - checkedBytes, checkedBytes);
        m_lastSize = checkedBytes;
        return;
    }
    const std::size_t kept = std::min(m_lastSize, checkedBytes - size);
    std::memmove(m_last, m_last + m_lastSize - kept, kept);
    std::memcpy(m_last + kept, data, size);
    m_lastSize = kept + size;
}
