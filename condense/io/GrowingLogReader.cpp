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
    checkAroundStart(buffer, got);
    keepLastBytes(buffer, got);
    m_position += got;
    if (got == 0)
        checkEnd();
    return got;
}

// After the piece piece[0, size) was read from m_position: the bytes read
// last before it, and its own first bytes, read again in one read, are still
// as they were. Had the log been rewritten before the piece was read, the
// bytes in front of it would now be the new ones too; had it been rewritten
// while the piece was read (the system may copy a read's pages while a
// writer passes it), the piece's first bytes, copied before the change,
// would no longer be the log's.
void GrowingLogReader::checkAroundStart(const char *piece, std::size_t size)
{
    const std::size_t first = std::min(size, checkedBytes);
    const std::size_t wanted = m_lastSize + first;
    if (wanted == 0)
        return;
    char again[2 * checkedBytes];
    if (m_source.readAt(m_position - m_lastSize, again, wanted) != wanted
        || std::memcmp(again, m_last, m_lastSize) != 0 || std::memcmp(again + m_lastSize, piece, first) != 0)
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
