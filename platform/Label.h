// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ClickDetector.h"

#include <QLabel>

// A label: plain text on an opaque back colour, wrapped at word boundaries
// within its fixed rectangle, left-aligned or centred, starting at the top
// (where a stand-in font replaces the banner face, as low as the designed
// face starts).
class Label : public QLabel
{
    Q_OBJECT

public:
    explicit Label(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    ClickDetector m_click;
};
