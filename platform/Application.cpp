// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include "Form.h"

namespace Application {

int run(int &argc, char **argv, std::unique_ptr<Form> (*createStartupForm)())
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("jt65a-clarifier"));
    QApplication::setOrganizationDomain(QStringLiteral("clarifier.jt65a.local"));

    // The event loop ends when the last window has closed.
    const std::unique_ptr<Form> form = createStartupForm();
    form->start();
    return QApplication::exec();
}

} // namespace Application
