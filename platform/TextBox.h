// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

// A single-line text box. changed() follows every change of its text, typed
// or set from code, and has run to its end before setText() returns. With
// the focus it is framed by the focus mark.
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);

signals:
    void changed();

protected:
    void paintEvent(QPaintEvent *event) override;
};
