// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RunInputGuard.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <functional>
#include <cstdint>

class RunProgress;

// What the user sees while a run works on another thread: the window goes on
// painting but takes no input (see RunInputGuard), and when the run takes
// longer than about a second a progress window shows the share of the log
// done and offers Cancel.
//
// A run can wait on a disk that does not answer (a network share that is
// gone): after Cancel the progress window stays and says that the run stops
// as soon as the drive answers, and once the run has waited for more than a
// few seconds it offers to end the program at once. Nothing is lost by that:
// the condensed log is only put in place when it is complete.
class RunProgressWindow : public QObject
{
public:
    static constexpr int showAfterMilliseconds = 1000;
    static constexpr int stuckAfterMilliseconds = 5000;
    static constexpr int steps = 1000;
    // The bar moves at most this often, so that a screen reader is told of
    // its value a few times a second, not at every look at the run.
    static constexpr int showValueEveryMilliseconds = 250;

    // Milliseconds on a clock that only goes forward.
    using Clock = std::function<qint64()>;

    // `clock` is what the wait for a stuck run is measured by; none: the
    // system's monotonic clock.
    RunProgressWindow(QWidget *window, RunProgress &progress, Clock clock = {});

    // Keeps the window's events going until finish() is called.
    void exec();

    // Ends exec() within a few milliseconds; may be called from any thread,
    // also before exec() starts.
    void finish() { m_finished.store(true, std::memory_order_release); }

private:
    void poll();
    void cancelPressed();
    bool stuck() const { return m_clock() - m_progressAt >= stuckAfterMilliseconds; }
    void showStopping();
    [[noreturn]] void endProgram();

    RunProgress &m_progress;
    QProgressDialog m_dialog;
    RunInputGuard m_guard{&m_dialog};
    QTimer m_poll;
    QElapsedTimer m_valueShown;
    QEventLoop m_loop;
    std::atomic<bool> m_finished{false};
    std::uint64_t m_lastDone = 0;
    Clock m_clock;
    qint64 m_progressAt = 0;  // when the run last read something
    bool m_waitingTold = false;
    bool m_endOffered = false;
};
