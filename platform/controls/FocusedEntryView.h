// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FocusMark.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QModelIndex>
#include <QPainter>
#include <QPalette>
#include <QTimer>

// The keyboard focus on a list of entries (a QListWidget or a QTreeWidget),
// seen and heard on its current entry. Entering the list tells a screen
// reader the current entry after the list itself; a new current entry is
// told as focused only while the list has the focus (Qt's views tell it also
// while they have none, as when another folder is listed); and with the
// focus the current entry is framed by the focus mark.
template <class View>
class FocusedEntryView : public View
{
public:
    using View::View;

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        View::focusInEvent(event);
        // The focus event for the list as a whole follows this handler.
        QTimer::singleShot(0, this, [this] { announceCurrent(); });
    }

    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override
    {
        if (this->hasFocus())
            View::currentChanged(current, previous);
        else
            QAbstractItemView::currentChanged(current, previous);
    }

    void paintEvent(QPaintEvent *event) override
    {
        View::paintEvent(event);
        if (!this->hasFocus() || this->currentItem() == nullptr)
            return;
        QPainter painter(this->viewport());
        FocusMark::draw(painter, this->visualItemRect(this->currentItem()),
                        this->palette().color(this->currentItem()->isSelected() ? QPalette::Highlight
                                                                                : QPalette::Base));
    }

private:
    void announceCurrent()
    {
        // The view tells a new current entry; told again, it is heard again.
        if (this->hasFocus() && this->currentIndex().isValid())
            View::currentChanged(this->currentIndex(), this->currentIndex());
    }
};
