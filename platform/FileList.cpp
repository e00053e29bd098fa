// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileList.h"

#include "NativePaths.h"

#include <QDir>
#include <QKeyEvent>

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
    const int key = event->key();
    const bool choose = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    if (choose && event->modifiers() == Qt::NoModifier) {
        if (currentItem() != nullptr && !event->isAutoRepeat())
            emit clicked();
        return;
    }
    QListWidget::keyPressEvent(event);
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
