// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

// A command button. Its click is QPushButton::clicked, by the mouse or, when
// it has the focus, by an activation key (Enter, keypad Enter or Space, as
// the file list chooses); with the focus it shows a dotted
// rectangle inside its edge.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CommandButton(QWidget *parent = nullptr);

    // Replaces the caption and draws it at once, as the run button does when
    // a run begins and ends.
    void setCaption(const QString &caption);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
