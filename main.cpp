// SPDX-License-Identifier: GPL-3.0-or-later
// The program: the platform, started with Form1 as its one window.
#include "Application.h"
#include "Form1.h"

int main(int argc, char **argv)
{
    return Application::run(argc, argv, [] () -> std::unique_ptr<Form> { return std::make_unique<Form1>(); });
}
