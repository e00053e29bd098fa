// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>

// The hand-over of a ring of buffers between two threads: one fills buffer
// 0, 1, 2, ... in turn, the other empties them in the same order, and a
// buffer's slot is filled again only once it has been emptied. Only the
// counts change hands here; the buffers and what is said about each (their
// sizes) are the owner's, written before filled() or emptied() and read
// after the wait that sees it.
//
// A failure on either side is kept for the other to rethrow; stop() ends
// every wait, for a side that is going away.
class BufferRing
{
public:
    explicit BufferRing(std::uint64_t slots)
        : m_slots(slots)
    {
    }

    // Waits until buffer `index` may be filled: its slot's earlier buffer
    // is emptied. False once stopped or failed.
    bool waitToFill(std::uint64_t index);
    // Buffers [0, count) are filled.
    void filled(std::uint64_t count);

    // Waits until buffer `index` is filled. False when it will not be:
    // stopped, or failed with nothing more filled.
    bool waitToEmpty(std::uint64_t index);
    // Buffers [0, count) are emptied.
    void emptied(std::uint64_t count);

    // The first failure is kept.
    void fail(std::exception_ptr failure);
    // Rethrows the failure, after a wait that ended for it.
    [[noreturn]] void rethrowFailure() const;
    void stop();

private:
    void publish(std::uint64_t &counter, std::uint64_t count);

    const std::uint64_t m_slots;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::uint64_t m_filled = 0;
    std::uint64_t m_emptied = 0;
    std::exception_ptr m_failure;
    bool m_stopping = false;
};
