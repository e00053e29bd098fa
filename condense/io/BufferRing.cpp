// SPDX-License-Identifier: GPL-3.0-or-later
#include "BufferRing.h"

#include <stdexcept>

bool BufferRing::waitToFill(std::uint64_t index)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_stopping || index - m_emptied < m_slots || m_failure; });
    return !m_stopping && !m_failure;
}

void BufferRing::filled(std::uint64_t count)
{
    publish(m_filled, count);
}

bool BufferRing::waitToEmpty(std::uint64_t index)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_stopping || index < m_filled || m_failure; });
    return !m_stopping && index < m_filled;
}

void BufferRing::emptied(std::uint64_t count)
{
    publish(m_emptied, count);
}

void BufferRing::fail(std::exception_ptr failure)
{
    {
        const std::lock_guard lock(m_mutex);
        if (!m_failure)
            m_failure = failure;
    }
    m_changed.notify_all();
}

void BufferRing::rethrowFailure() const
{
    std::exception_ptr failure;
    {
        const std::lock_guard lock(m_mutex);
        failure = m_failure;
    }
    if (!failure)
        throw std::logic_error("a buffer ring's wait ended without a failure");
    std::rethrow_exception(failure);
}

void BufferRing::stop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
}

void BufferRing::publish(std::uint64_t &counter, std::uint64_t count)
{
    {
        const std::lock_guard lock(m_mutex);
        counter = count;
    }
    m_changed.notify_all();
}
