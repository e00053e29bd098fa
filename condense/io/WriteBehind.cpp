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
    m_ring.stop();
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
    m_sizes[m_handed % batchCount] = size;
    m_ring.filled(++m_handed);
    // The batch to fill next, once its slot's earlier batch is written.
    if (!m_ring.waitToFill(m_handed))
        m_ring.rethrowFailure();
}

void WriteBehind::finish()
{
    if (m_writer.joinable() && !m_ring.waitUntilEmptied(m_handed))
        m_ring.rethrowFailure();
}

void WriteBehind::writeAll()
{
    for (std::uint64_t index = 0; m_ring.waitToEmpty(index); ++index) {
        try {
            if (const std::size_t size = m_sizes[index % batchCount]; size > 0)
                m_sink.write(m_batches[index % batchCount].get(), size);
        } catch (...) {
            m_ring.fail(std::current_exception());
            return;
        }
        m_ring.emptied(index + 1);
    }
}
