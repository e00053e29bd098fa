// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

// Flushes a file to disk on a thread of its own while the file is still being
// written, so that the flush a save ends with finds little left to do: the
// drive's own cache is emptied a few megabytes at a time along the way rather
// than all at once at the end. The system reports a failed flush of a file
// once only and then forgets it, so the first failure is kept here for the
// save to report.
class BackgroundFlush
{
public:
    explicit BackgroundFlush(int file);
    // Waits for a flush under way; the file may be closed afterwards.
    ~BackgroundFlush();

    BackgroundFlush(const BackgroundFlush &) = delete;
    BackgroundFlush &operator=(const BackgroundFlush &) = delete;

    // Asks for a flush of what is written so far. While one is under way the
    // requests are gathered into the next.
    void request();

    // Asks the thread to end once a flush under way is done, without waiting;
    // requests not yet begun are dropped (the save's own last flush covers
    // them).
    void stop();

    // Stops, waits for a flush under way and ends the thread. Returns the
    // system's error number for the first flush that failed, or 0.
    int finish();

private:
    void flushAll();

    int m_file;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_requested = false;
    bool m_stopping = false;
    int m_error = 0;
    std::thread m_thread;
};
