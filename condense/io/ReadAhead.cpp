// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReadAhead.h"

#include "RunCancelled.h"
#include "RunProgress.h"

ReadAhead::ReadAhead(ByteSource &source, std::size_t chunkSize, std::size_t headroom,
                     const RunProgress *progress, Reading reading)
    : m_log(source)
    , m_progress(progress)
    , m_chunkSize(chunkSize)
    , m_headroom(PageAlignedBuffer::wholePages(headroom))
    , m_next(reading == Reading::Ahead ? &ReadAhead::nextReadAhead : &ReadAhead::nextOnDemand)
{
    for (auto &buffer : m_buffers)
        buffer = PageAlignedBuffer(m_headroom + chunkSize);
    if (reading == Reading::Ahead)
        m_reader = std::thread(&ReadAhead::readAll, this);
}

ReadAhead::~ReadAhead()
{
    m_ring.stop();
    if (m_reader.joinable())
        m_reader.join();
}

// Reads until the buffer is full or the log ends.
std::size_t ReadAhead::readOne(std::uint64_t index)
{
    if (m_progress != nullptr && m_progress->cancelled())
        throw RunCancelled();
    return m_log.read(dataOf(index), m_chunkSize);
}

void ReadAhead::readAll()
{
    for (std::uint64_t index = 0; m_ring.waitToFill(index); ++index) {
        std::size_t got = 0;
        try {
            got = readOne(index);
        } catch (...) {
            m_ring.fail(std::current_exception());
            return;
        }
        m_sizes[index % bufferCount] = got;
        m_ring.filled(index + 1);
        if (got == 0)
            return;
    }
}

ReadAhead::Chunk ReadAhead::nextReadAhead()
{
    if (m_taken > m_released) {
        m_released = m_taken;
        m_ring.emptied(m_released);
    }
    if (!m_ring.waitToEmpty(m_taken))
        m_ring.rethrowFailure();
    const std::uint64_t index = m_taken++;
    return {dataOf(index), m_sizes[index % bufferCount]};
}

ReadAhead::Chunk ReadAhead::nextOnDemand()
{
    const std::uint64_t index = m_taken++;
    return {dataOf(index), readOne(index)};
}
