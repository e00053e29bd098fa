// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileList.h"

#include "ActivationKey.h"
#include "FocusMark.h"
#include "NativePaths.h"

#include <QDir>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>

FileList::FileList(QWidget *parent)
    : QListWidget(parent)
{
    connect(this, &QListWidget::itemClicked, this, &FileList::clicked);
}

void FileList::setPath(const QString &path)
{
    m_path = NativePaths::display(path);
    fill();
}

void FileList::setPattern(const QString &pattern)
{
    if (pattern == m_pattern)
        return;
    m_pattern = pattern;
    fill();
}

void FileList::keyPressEvent(QKeyEvent *event)
{
    switch (ActivationKey::of(event)) {
    case ActivationKey::Press::None:
        QListWidget::keyPressEvent(event);
        break;
    case ActivationKey::Press::Act:
        if (currentItem() != nullptr)
            emit clicked();
        break;
    case ActivationKey::Press::HeldDown:
        break;
    }
}

// Entering the list makes an entry current (the first, if none was); it is
// selected too, so that what is heard, seen and chosen is one file.
void FileList::focusInEvent(QFocusEvent *event)
{
    QListWidget::focusInEvent(event);
    if (QListWidgetItem *item = currentItem(); item != nullptr && !item->isSelected())
        setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
    // The focus event for the list as a whole follows this handler; the
    // current file is told after it, or a screen reader names only the list.
    QTimer::singleShot(0, this, &FileList::announceCurrent);
}

void FileList::announceCurrent()
{
    // Qt's list tells a new current entry; told again, it is heard again.
    if (hasFocus() && currentIndex().isValid())
        QListWidget::currentChanged(currentIndex(), currentIndex());
}

// Qt's list announces a new current entry as focused also while the list has
// no focus; only the focused list says so.
void FileList::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (hasFocus())
        QListWidget::currentChanged(current, previous);
    else
        QAbstractItemView::currentChanged(current, previous);
}

void FileList::paintEvent(QPaintEvent *event)
{
    QListWidget::paintEvent(event);
    if (!hasFocus() || currentItem() == nullptr)
        return;
    QPainter painter(viewport());
    FocusMark::draw(painter, visualItemRect(currentItem()),
                    palette().color(currentItem()->isSelected() ? QPalette::Highlight : QPalette::Base));
}

QString FileList::selectedName() const
{
    const QListWidgetItem *item = currentItem();
    return item ? item->text() : QString();
}

void FileList::fill()
{
    clear();
    if (m_path.isEmpty())
        return;
    const QStringList filters = m_pattern == QLatin1String("*.*") ? QStringList() : QStringList(m_pattern);
    QDir folder(m_path);
    folder.setSorting(QDir::Name | QDir::IgnoreCase);
    addItems(folder.entryList(filters, QDir::Files));
}
