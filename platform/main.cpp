// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application.h"
#include "Form1.h"

int main(int argc, char **argv)
{
    return Application::run<Form1>(argc, argv);
}
