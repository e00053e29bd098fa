// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>

// How far a condensing run has got, and whether the user wants it stopped.
// The run advances it on its own thread while the window reads it and may ask
// for a stop on the window's thread; every member is safe to use from both.
class RunProgress
{
public:
    void setTotal(std::uint64_t bytes) { m_total.store(bytes, std::memory_order_relaxed); }
    void advance(std::uint64_t bytes) { m_done.fetch_add(bytes, std::memory_order_relaxed); }

    std::uint64_t total() const { return m_total.load(std::memory_order_relaxed); }
    std::uint64_t done() const { return m_done.load(std::memory_order_relaxed); }

    // The share of the log read so far, from 0 to 1; 0 while the size is unknown.
    double share() const
    {
        const std::uint64_t all = total();
        return all == 0 ? 0.0 : std::min(1.0, double(done()) / double(all));
    }

    void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
    bool cancelled() const { return m_cancelled.load(std::memory_order_relaxed); }

private:
    std::atomic<std::uint64_t> m_total{0};
    std::atomic<std::uint64_t> m_done{0};
    std::atomic<bool> m_cancelled{false};
};
