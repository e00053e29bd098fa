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
    connect(&m_reader, &FolderReader::listed, this, &FileList::listed);
}

void FileList::setPath(const QString &path)
{
    const QString folder = NativePaths::display(path);
    if (folder != m_path) {
        m_path = folder;
        m_names.clear();
        fill();
    }
    if (!m_path.isEmpty())
        m_reader.read({m_path});
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

void FileList::showEvent(QShowEvent *event)
{
    QListWidget::showEvent(event);
    if (!event->spontaneous() && !m_path.isEmpty())
        m_reader.read({m_path});
}

QString FileList::selectedName() const
{
    const QListWidgetItem *item = currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

void FileList::listed(const FolderListing &listing)
{
    if (listing.folder != m_path)
        return;
    const QStringList names = listing.listed ? listing.files : QStringList();
    if (names == m_names)
        return;
    m_names = names;
    fill();
}

void FileList::fill()
{
    const QString chosen = selectedName();
    clear();
    const bool every = m_pattern == QLatin1String("*.*");
    for (const QString &name : std::as_const(m_names)) {
        if (!every && !QDir::match(m_pattern, name))
            continue;
        auto *item = new QListWidgetItem(NativePaths::shown(name), this);
        item->setData(Qt::UserRole, name);
        if (name == chosen)
            setCurrentItem(item);
    }
}
