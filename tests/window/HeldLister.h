// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FolderLister.h"
#include "NativePaths.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

// The system's lister, but one folder does not answer until it is let go,
// as a network share that is gone would: neither its listing nor a look at
// a file in it. Or, `delivering`, its listing keeps bringing entries until
// then, as a huge folder on a busy disk does.
class HeldLister : public FolderLister
{
public:
    explicit HeldLister(QString held, bool delivering = false)
        : m_held(std::move(held)), m_delivering(delivering) {}

    FolderListing list(const QString &folder, const Progress &progress) const override
    {
        if (!m_held.isEmpty() && folder == m_held) {
            std::unique_lock lock(m_mutex);
            while (!m_released.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_letGo; })) {
                if (m_delivering) {
                    progress();
                    ++m_deliveries;
                }
            }
        }
        return FolderLister::list(folder, progress);
    }

    std::optional<qint64> modified(const QString &file) const override
    {
        if (!m_held.isEmpty() && NativePaths::isUnder(file, m_held)) {
            std::unique_lock lock(m_mutex);
            m_released.wait(lock, [this] { return m_letGo; });
        }
        return FolderLister::modified(file);
    }

    int deliveries() const { return m_deliveries; }

    void letGo()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_letGo = true;
        }
        m_released.notify_all();
    }

private:
    QString m_held;
    bool m_delivering;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_released;
    mutable std::atomic<int> m_deliveries{0};
    bool m_letGo = false;
};
