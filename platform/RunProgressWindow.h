// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>

class RunProgress;

// What the user sees while a run works on another thread: the window goes on
// painting but takes no input, as during a modal run, and when the run takes
// longer than about a second a progress window shows the share of the log
// done and offers Cancel.
class RunProgressWindow : public QObject
{
public:
    static constexpr int showAfterMilliseconds = 1000;
    static constexpr int steps = 1000;
    // The bar moves at most this often, so that a screen reader is told of
    // its value a few times a second, not at every look at the run.
    static constexpr int showValueEveryMilliseconds = 250;

    RunProgressWindow(QWidget *window, RunProgress &progress);
    ~RunProgressWindow() override;

    // Keeps the window's events going until finish() is called.
    void exec();

    // Ends exec() within a few milliseconds; may be called from any thread,
    // also before exec() starts.
    void finish() { m_finished.store(true, std::memory_order_release); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void poll();

    RunProgress &m_progress;
    QProgressDialog m_dialog;
    QTimer m_poll;
    QElapsedTimer m_valueShown;
    QEventLoop m_loop;
    std::atomic<bool> m_finished{false};
};
