// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

#include <memory>

class Form;

// The program's entry: the start-up form, then the event loop until the last
// window is gone.
namespace Application {

int run(int &argc, char **argv, std::unique_ptr<Form> (*createStartupForm)());

template <typename StartupForm>
int run(int &argc, char **argv)
{
    return run(argc, argv, [] () -> std::unique_ptr<Form> { return std::make_unique<StartupForm>(); });
}

} // namespace Application
