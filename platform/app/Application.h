// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

#include <memory>

class Form;

// The program's start: the start-up form, then the event loop until the last
// window is gone.
namespace Application {

// Who the program is to the desktop. The name is the window class the desktop
// entry's StartupWMClass names (X11); the desktop file name is the entry's id,
// which Wayland compositors match the window's app id against.
struct Identity
{
    QString name;
    QString desktopFileName;
};

int run(int &argc, char **argv, const Identity &identity,
        std::unique_ptr<Form> (*createStartupForm)());

template <typename StartupForm>
int run(int &argc, char **argv, const Identity &identity)
{
    return run(argc, argv, identity,
               [] () -> std::unique_ptr<Form> { return std::make_unique<StartupForm>(); });
}

} // namespace Application
