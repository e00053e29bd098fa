// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>

// A message box that shows the whole of its text and of its title on any
// screen, at any scale. Its text wraps at word boundaries within one width:
// wide enough that each path in it stays on one line where the screen
// allows (a path wider than that wraps at its separators), that the title
// fits in the window frame beside the frame's buttons, and that prose reads
// in lines of a comfortable length; never wider than the screen.
//
// QMessageBox sizes itself when it is shown and each time it is laid out
// again (as when the desktop's font changes), and leaves a short text
// unwrapped whatever the width its label is given: this box takes over from
// there each time.
class FittedMessageBox : public QMessageBox
{
    Q_OBJECT

public:
    FittedMessageBox(Icon icon, const QString &title, const QString &text, QWidget *parent);

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void fitText();
    void keepOnScreen();
};
