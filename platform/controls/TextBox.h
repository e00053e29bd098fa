// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

// A single-line text box. changed() follows every change of its text, typed
// or set from code, and has run to its end before setText() returns. With
// the focus it is framed by the focus mark.
//
// It can also stand for a file name that is not valid text (see
// NativePaths): setName() shows it with the replacement character, and
// name() gives the name itself for as long as that text is not changed.
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);

    // Shows `name`, held as NativePaths holds names; raises changed() also
    // where the text shown stays the same.
    void setName(const QString &name);

    // The name shown: the one setName() gave while its text stands, else the text.
    QString name() const;

signals:
    void changed();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_name;
};
