// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"

#include "Form.h"
#include "WindowGoneWatch.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace Application {

int run(int &argc, char **argv, const Identity &identity,
        std::unique_ptr<Form> (*createStartupForm)())
{
#ifdef Q_OS_WIN
    // Libraries loaded from now on (Qt's plugins and what they load) come
    // from the program's own folder and the system's, never from the
    // folder the program was started in.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
#endif
    QApplication app(argc, argv);
    // Before the first window: the class is read when a window is created.
    QApplication::setApplicationName(identity.name);
    QApplication::setDesktopFileName(identity.desktopFileName);
    QApplication::setOrganizationDomain(QStringLiteral("clarifier.jt65a.local"));
    WindowGoneWatch windowGoneWatch;
    app.installNativeEventFilter(&windowGoneWatch);

    // The event loop ends when the last window has closed.
    const std::unique_ptr<Form> form = createStartupForm();
    form->start();
    return QApplication::exec();
}

} // namespace Application
