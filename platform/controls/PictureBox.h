// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Label.h"

#include <QImage>

// A picture box: a label without text that draws its bitmap at the top-left
// corner, cropped to the box, with no frame. Its click is the label's.
class PictureBox : public Label
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};
