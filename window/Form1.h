#pragma once

#include "Form.h"

// The tool's one window.
class Form1 : public Form
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);
};
