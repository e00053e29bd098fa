// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

class Form;

// The program's start: the start-up form, then the event loop until the last
// window is gone.
namespace Application {

// Runs the program with the form `createStartupForm` makes as its start-up
// object. The desktop knows the program by the window class its entry's
// StartupWMClass names (X11) and by the entry's id, which Wayland
// compositors match the window's app id against.
int run(int &argc, char **argv, std::unique_ptr<Form> (*createStartupForm)());

// What each system needs of the process before anything is loaded.
void prepareProcess();

} // namespace Application
