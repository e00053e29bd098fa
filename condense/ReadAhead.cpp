// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReadAhead.h"

#include "ByteSource.h"
#include "RunCancelled.h"
#include "RunProgress.h"

ReadAhead::ReadAhead(ByteSource &source, std::size_t chunkSize, std::size_t headroom,
                     const RunProgress *progress, Reading reading)
    : m_source(source)
    , m_progress(progress)
    , m_chunkSize(chunkSize)
    , m_headroom(PageAlignedBuffer::wholePages(headroom))
{
    for (auto &buffer : m_buffers)
        buffer = PageAlignedBuffer(m_headroom + chunkSize);
    if (reading == Reading::Ahead)
        m_reader = std::thread(&ReadAhead::readAll, this);
}

ReadAhead::~ReadAhead()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_reader.joinable())
        m_reader.join();
}

std::size_t ReadAhead::readOne(std::uint64_t index, std::size_t offset)
{
    if (m_progress != nullptr && m_progress->cancelled())
        throw RunCancelled();
    return m_source.read(dataOf(index) + offset, m_chunkSize - offset);
}

void ReadAhead::readAll()
{
    bool atEnd = false;
    for (std::uint64_t index = 0;; ++index) {
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return m_stopping || index - m_released < bufferCount; });
            if (m_stopping)
                return;
        }
        std::size_t got = 0;
        std::exception_ptr failure;
        try {
            while (got < m_chunkSize && !atEnd) {
                const std::size_t more = readOne(index, got);
                got += more;
                atEnd = more == 0;
            }
        } catch (...) {
            failure = std::current_exception();
        }
        {
            // What was read before a failure is handed on first.
            const std::lock_guard lock(m_mutex);
            if (got > 0 || !failure) {
                m_sizes[index % bufferCount] = got;
                m_filled = index + 1;
            }
            m_failure = failure;
        }
        m_changed.notify_all();
        if (failure || got == 0)
            return;
    }
}

ReadAhead::Chunk ReadAhead::next()
{
    if (!m_reader.joinable()) {
        const std::uint64_t index = m_taken++;
        return {dataOf(index), readOne(index)};
    }
    std::unique_lock lock(m_mutex);
    if (m_taken > m_released) {
        m_released = m_taken;
        m_changed.notify_all();
    }
    m_changed.wait(lock, [&] { return m_taken < m_filled || m_failure; });
    if (m_taken == m_filled)
        std::rethrow_exception(m_failure);
    const std::uint64_t index = m_taken++;
    return {dataOf(index), m_sizes[index % bufferCount]};
}
