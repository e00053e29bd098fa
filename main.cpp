// SPDX-License-Identifier: GPL-3.0-or-later
// The program: the platform, started with Form1 as its one window.
#include "Application.h"
#include "Form1.h"

int main(int argc, char **argv)
{
    const Application::Identity identity{
        QStringLiteral(CLARIFIER_PROGRAM_NAME),
        QStringLiteral(CLARIFIER_APP_ID),
    };
    return Application::run<Form1>(argc, argv, identity);
}
