// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ClickDetector.h"

#include <QLabel>
#include <QPointer>

// A label: plain text on an opaque back colour, wrapped at word boundaries
// within its fixed rectangle, left-aligned or centred, starting at the top
// (where a stand-in font replaces the banner face, as low as the designed
// face starts). A click raises clicked().
//
// A label can be a prompt for a control: while the label is shown, its text
// is part of the control's accessible description, so that a screen reader
// tells the prompt with the control as the eye reads it beside the control.
// (The prompt is not the control's label for a screen reader: Orca would
// say the prompt in place of the control's name.)
class Label : public QLabel
{
    Q_OBJECT

public:
    explicit Label(QWidget *parent = nullptr);

    void setPromptFor(QWidget *control);

    void setVisible(bool visible) override;

signals:
    void clicked();

protected:
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // The prompts shown for `control`, in reading order, as its description.
    static void describe(QWidget *control);

    ClickDetector m_click;
    QPointer<QWidget> m_promptFor;
};
