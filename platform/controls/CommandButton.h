// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RunButton.h"

#include <QPushButton>

// A command button. Its click is QPushButton::clicked, by the mouse or, when
// it has the focus, by an activation key (Enter, keypad Enter or Space, as
// the file list chooses); with the focus it shows a dotted
// rectangle inside its edge. As the run button its caption can be
// rewritten by the run.
class CommandButton : public QPushButton, public RunButton
{
    Q_OBJECT

public:
    explicit CommandButton(QWidget *parent = nullptr);

    void setCaption(const std::string &caption) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
