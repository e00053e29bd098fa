#include "Form.h"

Form::Form(QWidget *parent)
    : QWidget(parent)
{
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
