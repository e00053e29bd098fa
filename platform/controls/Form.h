// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// A window of the desktop: built with its controls' designed properties,
// then loaded, then shown.
class Form : public QWidget
{
    Q_OBJECT

public:
    explicit Form(QWidget *parent = nullptr);

    // The load event: runs once, after every control exists and before the
    // window is first shown.
    virtual void load() {}

    // Loads the form, then shows it.
    void start();

    // Unloads the form: closes it. Closing the last window ends the program.
    void unload();
};
