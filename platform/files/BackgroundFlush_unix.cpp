// SPDX-License-Identifier: GPL-3.0-or-later
#include "BackgroundFlush.h"

#include <cerrno>

#include <unistd.h>

BackgroundFlush::BackgroundFlush(int file)
    : m_file(file)
{
}

BackgroundFlush::~BackgroundFlush()
{
    finish();
}

void BackgroundFlush::request()
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_stopping)
            return;
        m_requested = true;
    }
    if (!m_thread.joinable())
        m_thread = std::thread(&BackgroundFlush::flushAll, this);
    else
        m_changed.notify_one();
}

void BackgroundFlush::stop()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_one();
}

int BackgroundFlush::finish()
{
    stop();
    if (m_thread.joinable())
        m_thread.join();
    return m_error;
}

void BackgroundFlush::flushAll()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_requested || m_stopping; });
        if (m_stopping)
            return;
        m_requested = false;
        lock.unlock();
        const int failed = ::fdatasync(m_file) != 0 ? errno : 0;
        lock.lock();
        if (m_error == 0)
            m_error = failed;
    }
}
