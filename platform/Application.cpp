// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include "Form.h"

namespace Application {

int run(int &argc, char **argv, const Identity &identity,
        std::unique_ptr<Form> (*createStartupForm)())
{
    QApplication app(argc, argv);
    // Before the first window: the class is read when a window is created.
    QApplication::setApplicationName(identity.name);
    QApplication::setDesktopFileName(identity.desktopFileName);
    QApplication::setOrganizationDomain(QStringLiteral("clarifier.jt65a.local"));

    // The event loop ends when the last window has closed.
    const std::unique_ptr<Form> form = createStartupForm();
    form->start();
    return QApplication::exec();
}

} // namespace Application
