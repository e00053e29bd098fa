// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BufferRing.h"
#include "PageAlignedBuffer.h"

#include <cstddef>
#include <cstdint>
#include <thread>

class ByteSink;

// Hands the condensed log to its sink in batches, written on a thread of
// their own, so that the scan goes on while the system takes each batch. The
// caller fills batch(), hands it over with hand() and fills the next; a write
// that fails is thrown from the next hand() or from finish(). Made inline,
// each batch is written when it is handed over, on the caller's thread.
class WriteBehind
{
public:
    enum class Writing { Behind, Inline };

    WriteBehind(ByteSink &sink, std::size_t batchSize, Writing writing);
    // Batches handed over but not yet written are dropped.
    ~WriteBehind();

    WriteBehind(const WriteBehind &) = delete;
    WriteBehind &operator=(const WriteBehind &) = delete;

    // The batch being filled, of batchSize() bytes.
    char *batch() { return m_batches[m_handed % batchCount].get(); }
    std::size_t batchSize() const { return m_batchSize; }

    // Hands the first `size` bytes of batch() to the sink; batch() is then
    // another one, free to fill.
    void hand(std::size_t size);

    // Returns once every batch handed over is written.
    void finish();

    std::size_t heldBytes() const { return batchCount * m_batchSize; }

private:
    static constexpr std::size_t batchCount = 4;

    void writeAll();

    ByteSink &m_sink;
    std::size_t m_batchSize;
    PageAlignedBuffer m_batches[batchCount];
    std::size_t m_sizes[batchCount] = {};
    std::uint64_t m_handed = 0;  // batches handed over; the caller's own count
    BufferRing m_ring{batchCount};
    std::thread m_writer;
};
