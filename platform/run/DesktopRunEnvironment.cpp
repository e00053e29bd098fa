// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopRunEnvironment.h"

#include "FileSource.h"
#include "MessageBox.h"
#include "RunProgressWindow.h"
#include "SaveFileOutput.h"

#include <QString>

#include <thread>

DesktopRunEnvironment::DesktopRunEnvironment(QWidget *window)
    : m_window(window)
{
}

std::unique_ptr<ByteSource> DesktopRunEnvironment::openInput(const std::string &path)
{
    return std::make_unique<FileSource>(path);
}

std::unique_ptr<OutputFile> DesktopRunEnvironment::createOutput(const std::string &path)
{
    return std::make_unique<SaveFileOutput>(path);
}

void DesktopRunEnvironment::runAside(const std::function<void()> &work, RunProgress &progress)
{
    RunProgressWindow progressWindow(m_window, progress, m_runClock);
    std::thread worker([&] {
        work();
        progressWindow.finish();
    });
    progressWindow.exec();
    worker.join();
}

void DesktopRunEnvironment::showInformation(const std::string &text)
{
    MessageBox::information(m_window, QString::fromStdString(text));
}

void DesktopRunEnvironment::showWarning(const std::string &text)
{
    MessageBox::warning(m_window, QString::fromStdString(text));
}
