// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form.h"

#include "FontSubstitutes.h"

Form::Form(QWidget *parent)
    : QWidget(parent)
{
    FontSubstitutes::install();
}

void Form::start()
{
    load();
    show();
}

void Form::unload()
{
    close();
}
