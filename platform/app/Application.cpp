// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include "Form.h"
#include "ProgramIdentity.h"
#include "WindowGoneWatch.h"

#include <QApplication>

namespace Application {

int run(int &argc, char **argv, std::unique_ptr<Form> (*createStartupForm)())
{
    prepareProcess();
    QApplication app(argc, argv);
    // Before the first window: the class is read when a window is created.
    QApplication::setApplicationName(QString::fromUtf8(ProgramIdentity::programName));
    QApplication::setDesktopFileName(QString::fromUtf8(ProgramIdentity::appId));
    QApplication::setOrganizationDomain(QStringLiteral("clarifier.jt65a.local"));
    WindowGoneWatch windowGoneWatch;
    app.installNativeEventFilter(&windowGoneWatch);

    // The event loop ends when the last window has closed.
    const std::unique_ptr<Form> form = createStartupForm();
    form->start();
    return QApplication::exec();
}

} // namespace Application
