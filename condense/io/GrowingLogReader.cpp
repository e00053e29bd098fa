// SPDX-License-Identifier: GPL-3.0-or-later
#include "GrowingLogReader.h"

#include "FileError.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>

namespace {

[[noreturn]] void changed(const char *reason = FileError::changedDuringRun)
{
    throw FileError(FileError::Operation::Read, std::string(), reason);
}

} // namespace

GrowingLogReader::GrowingLogReader(ByteSource &source)
    : m_source(source)
    , m_start(source.state())
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
    if (m_start && m_position < m_start->size)
        changed();
    const std::optional<ByteSource::State> now = m_source.state();
    if (now && now->size < m_position)
        changed();
    if (!m_source.stillNamed())
        changed(FileError::movedDuringRun);
    if (writtenWithoutGrowing(now))
        changed();
}

// Whether the log was written during the run though it holds no more bytes
// than it did at the start, as when a line is rewritten in place. The system
// stamps a write with its time before its bytes land and the log grows, so
// an append on its way looks so for a moment: the log is looked at again a
// few times before it counts as rewritten.
bool GrowingLogReader::writtenWithoutGrowing(const std::optional<ByteSource::State> &now) const
{
    if (!m_start || !now || !m_start->modified || !now->modified || now->size != m_start->size
        || *now->modified == *m_start->modified)
        return false;
    for (int look = 0; look < appendLooks; ++look) {
        std::this_thread::sleep_for(appendLookPause);
        const std::optional<ByteSource::State> later = m_source.state();
        if (later && later->size > m_start->size)
            return false;
    }
    return true;
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
