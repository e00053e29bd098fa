// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteSink.h"
#include "PageAlignedBuffer.h"

#include <cstddef>

// Gathers the condensed log into one batch, which goes to the sink in a
// single write when it is handed over: a few large writes instead of one a
// line. The writes are made on the scan's own thread; a thread of their own
// bought nothing on the whole run, quiet or busy, since the system takes a
// batch into its cache in far less time than the scan takes to fill it.
class OutputBatch
{
public:
    OutputBatch(ByteSink &sink, std::size_t batchSize)
        : m_sink(sink)
        , m_batchSize(batchSize)
        , m_batch(batchSize)
    {
    }

    OutputBatch(const OutputBatch &) = delete;
    OutputBatch &operator=(const OutputBatch &) = delete;

    // The batch to fill, of batchSize() bytes.
    char *batch() { return m_batch.get(); }
    std::size_t batchSize() const { return m_batchSize; }

    // Writes the first `size` bytes of batch() to the sink; the batch is then
    // free to fill again. A failed write throws, as the sink does.
    void hand(std::size_t size)
    {
        if (size > 0)
            m_sink.write(m_batch.get(), size);
    }

private:
    ByteSink &m_sink;
    std::size_t m_batchSize;
    PageAlignedBuffer m_batch;
};
