// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ClickDetector.h"

#include <QImage>
#include <QWidget>

// A picture box: draws its bitmap at the top-left corner, cropped to the box,
// with no frame.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
    ClickDetector m_click;
};
