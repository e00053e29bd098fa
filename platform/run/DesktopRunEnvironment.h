// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RunEnvironment.h"

#include <QtGlobal>

#include <functional>

class QWidget;

// The condensing run's files, its worker thread and progress window, and its
// message boxes on the desktop.
class DesktopRunEnvironment : public RunEnvironment
{
public:
    // Message boxes are modal to `window` (none: to the application), and the
    // progress window belongs to it.
    explicit DesktopRunEnvironment(QWidget *window = nullptr);

    // The clock a run's wait on a disk is measured by (see
    // RunProgressWindow); none, the system's. For a test, that need not wait.
    void setRunClock(std::function<qint64()> milliseconds) { m_runClock = std::move(milliseconds); }

    std::unique_ptr<ByteSource> openInput(const std::string &path) override;
    std::unique_ptr<OutputFile> createOutput(const std::string &path) override;
    void runAside(const std::function<void()> &work, RunProgress &progress) override;
    void showInformation(const std::string &text) override;
    void showWarning(const std::string &text) override;

private:
    QWidget *m_window;
    std::function<qint64()> m_runClock;
};
