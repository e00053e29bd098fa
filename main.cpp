// SPDX-License-Identifier: GPL-3.0-or-later
// The program: the platform, started with Form1 as its one window.
#include "Application.h"
#include "Form1.h"
#include "ProgramIdentity.h"

int main(int argc, char **argv)
{
    const Application::Identity identity{
        QString::fromUtf8(ProgramIdentity::programName),
        QString::fromUtf8(ProgramIdentity::appId),
    };
    return Application::run<Form1>(argc, argv, identity);
}
