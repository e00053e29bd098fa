// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunProgressWindow.h"

#include "ProgramIdentity.h"
#include "RunProgress.h"

#include <QApplication>
#include <QEvent>
#include <QProgressBar>
#include <QWidget>

#include <cstdlib>
#include <memory>

namespace {

const char *const condensingText = "Condensing the log file...";
const char *const waitingText = "Waiting for the drive to answer...";
const char *const stoppingText =
    "Stopping the run...\n\nThe drive does not answer. The run stops\n"
    "as soon as it answers; nothing is changed.";
const char *const endOfferText =
    "\n\nOr end the program now: the earlier\ncondensed log stays as it was.";

} // namespace

RunProgressWindow::RunProgressWindow(QWidget *window, RunProgress &progress, Clock clock)
    : m_progress(progress)
    , m_dialog(window)
    , m_clock(std::move(clock))
{
    if (!m_clock) {
        auto started = std::make_shared<QElapsedTimer>();
        started->start();
        m_clock = [started] { return started->elapsed(); };
    }
    m_dialog.setObjectName(QStringLiteral("RunProgress"));
    m_dialog.setWindowTitle(QString::fromUtf8(ProgramIdentity::title));
    // Wide enough for the whole title beside the title bar's buttons, which
    // desktops set in bold.
    QFont titleFont = m_dialog.font();
    titleFont.setBold(true);
    const QFontMetrics title(titleFont);
    m_dialog.setMinimumWidth(title.horizontalAdvance(m_dialog.windowTitle()) + 8 * title.height());
    m_dialog.setLabelText(QString::fromUtf8(condensingText));
    m_dialog.setAutoClose(false);
    m_dialog.setAutoReset(false);
    m_dialog.setRange(0, steps);
    m_dialog.setMinimumDuration(showAfterMilliseconds);
    m_dialog.setValue(0);  // starts the wait before the dialog shows
    m_valueShown.start();
    if (auto *bar = m_dialog.findChild<QProgressBar *>())
        bar->setAccessibleName(QStringLiteral("Condensing the log file"));
    connect(&m_dialog, &QProgressDialog::canceled, this, &RunProgressWindow::cancelPressed);
    connect(&m_poll, &QTimer::timeout, this, &RunProgressWindow::poll);
    m_progressAt = m_clock();
}

void RunProgressWindow::exec()
{
    // The end is looked for, not announced: the run's thread touches nothing
    // of Qt's, only the atomic flag.
    m_poll.start(10);
    if (!m_finished.load(std::memory_order_acquire))
        m_loop.exec();
    m_poll.stop();
}

void RunProgressWindow::poll()
{
    if (m_finished.load(std::memory_order_acquire)) {
        m_loop.quit();
        return;
    }
    const std::uint64_t done = m_progress.done();
    if (done != m_lastDone) {
        m_lastDone = done;
        m_progressAt = m_clock();
    }
    if (!m_progress.cancelled()) {
        // A few value changes a second: each is an event for a screen reader.
        if (m_valueShown.elapsed() >= showValueEveryMilliseconds) {
            m_dialog.setValue(int(m_progress.share() * steps));
            m_valueShown.start();
        }
        if (stuck() != m_waitingTold) {
            m_waitingTold = stuck();
            // One line either way, so that Cancel does not move under the pointer.
            m_dialog.setLabelText(QString::fromUtf8(m_waitingTold ? waitingText : condensingText));
        }
    } else if (stuck() && !m_endOffered) {
        m_endOffered = true;
        m_dialog.setLabelText(QString::fromUtf8(stoppingText) + QString::fromUtf8(endOfferText));
        m_dialog.setCancelButtonText(QStringLiteral("End the program"));
        m_dialog.show();
    }
}

// The first press asks the run to stop; the window stays until it has. The
// press on "End the program" ends it at once: the run's thread may be held
// by the disk for good, and the condensed log it writes is not in place yet.
void RunProgressWindow::cancelPressed()
{
    if (m_endOffered)
        endProgram();
    m_progress.cancel();
    showStopping();
}

void RunProgressWindow::endProgram()
{
    // The windows go first: the system keeps a program whose thread waits
    // on a disk, windows and all, until the disk answers.
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    QGuiApplication::sync();
    std::_Exit(EXIT_FAILURE);
}

void RunProgressWindow::showStopping()
{
    // A progress dialog hides itself on Cancel.
    m_dialog.setCancelButtonText(QString());
    m_dialog.setLabelText(QString::fromUtf8(stoppingText));
    m_dialog.setMaximum(0);  // no share to show: a busy bar
    m_dialog.show();
}
