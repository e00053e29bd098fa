// SPDX-License-Identifier: GPL-3.0-or-later
#include "WriteBehind.h"

#include "ByteSink.h"

WriteBehind::WriteBehind(ByteSink &sink, std::size_t batchSize, Writing writing)
    : m_sink(sink)
    , m_batchSize(batchSize)
{
    for (auto &batch : m_batches)
        batch = PageAlignedBuffer(batchSize);
    if (writing == Writing::Behind)
        m_writer = std::thread(&WriteBehind::writeAll, this);
}

WriteBehind::~WriteBehind()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_writer.joinable())
        m_writer.join();
}

void WriteBehind::hand(std::size_t size)
{
    if (!m_writer.joinable()) {
        if (size > 0)
            m_sink.write(batch(), size);
        return;
    }
    {
        const std::lock_guard lock(m_mutex);
        m_sizes[m_handed % batchCount] = size;
        ++m_handed;
    }
    m_changed.notify_all();
    // The next batch is free once at most batchCount - 1 wait to be written.
    if (m_handed >= batchCount)
        waitUntil(m_handed - (batchCount - 1));
}

void WriteBehind::finish()
{
    if (m_writer.joinable())
        waitUntil(m_handed);
}

void WriteBehind::waitUntil(std::uint64_t writtenAtLeast)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_written >= writtenAtLeast || m_failure; });
    if (m_failure)
        std::rethrow_exception(m_failure);
}

void WriteBehind::writeAll()
{
    for (std::uint64_t index = 0;; ++index) {
        std::size_t size = 0;
        {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return m_stopping || index < m_handed; });
            if (m_stopping)
                return;
            size = m_sizes[index % batchCount];
        }
        try {
            if (size > 0)
                m_sink.write(m_batches[index % batchCount].get(), size);
        } catch (...) {
            const std::lock_guard lock(m_mutex);
            m_failure = std::current_exception();
            m_changed.notify_all();
            return;
        }
        {
            const std::lock_guard lock(m_mutex);
            m_written = index + 1;
        }
        m_changed.notify_all();
    }
}
