// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunProgressWindow.h"

#include "ProgramIdentity.h"
#include "RunProgress.h"

#include <QApplication>
#include <QEvent>
#include <QProgressBar>
#include <QWidget>

namespace {

bool isUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

RunProgressWindow::RunProgressWindow(QWidget *window, RunProgress &progress)
    : m_progress(progress)
    , m_dialog(window)
{
    m_dialog.setObjectName(QStringLiteral("RunProgress"));
    m_dialog.setWindowTitle(QString::fromUtf8(ProgramIdentity::title));
    m_dialog.setLabelText(QStringLiteral("Condensing the log file..."));
    m_dialog.setAutoClose(false);
    m_dialog.setAutoReset(false);
    m_dialog.setRange(0, steps);
    m_dialog.setMinimumDuration(showAfterMilliseconds);
    m_dialog.setValue(0);  // starts the wait before the dialog shows
    m_valueShown.start();
    if (auto *bar = m_dialog.findChild<QProgressBar *>())
        bar->setAccessibleName(QStringLiteral("Condensing the log file"));
    connect(&m_dialog, &QProgressDialog::canceled, this, [this] { m_progress.cancel(); });
    connect(&m_poll, &QTimer::timeout, this, &RunProgressWindow::poll);
    qApp->installEventFilter(this);
}

RunProgressWindow::~RunProgressWindow()
{
    qApp->removeEventFilter(this);
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
    if (m_finished.load(std::memory_order_acquire))
        m_loop.quit();
    else if (!m_progress.cancelled() && m_valueShown.elapsed() >= showValueEveryMilliseconds) {
        m_dialog.setValue(int(m_progress.share() * steps));
        m_valueShown.start();
    }
}

// Input to any window but the progress window is dropped; a request to close
// one is refused.
bool RunProgressWindow::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (widget == nullptr || widget->window() == &m_dialog || !isUserInput(event->type()))
        return false;
    event->ignore();
    return true;
}
