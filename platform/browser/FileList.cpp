// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileList.h"

#include "ActivationKey.h"
#include "NativePaths.h"

#include <QKeyEvent>

FileList::FileList(QWidget *parent)
    : FocusedEntryView(parent)
{
    connect(this, &QListWidget::itemClicked, this, &FileList::clicked);
    connect(&m_reader, &FolderReader::listed, this, &FileList::listed);
}

void FileList::setPath(const QString &path)
{
    const QString folder = NativePaths::normalised(path);
    if (folder != m_path) {
        m_path = folder;
        m_wanted.clear();
        m_names.clear();
        fill();
    }
    if (!m_path.isEmpty())
        m_reader.read({m_path});
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
    FocusedEntryView::focusInEvent(event);
    if (QListWidgetItem *item = currentItem(); item != nullptr && !item->isSelected())
        setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
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

void FileList::setSelectedName(const QString &name)
{
    m_wanted = name;
    fill();
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
    const QString chosen = m_wanted.isEmpty() ? selectedName() : m_wanted;
    clear();
    for (const QString &name : std::as_const(m_names)) {
        auto *item = new QListWidgetItem(NativePaths::shown(name), this);
        item->setData(Qt::UserRole, name);
        if (name == chosen) {
            setCurrentItem(item);
            m_wanted.clear();
        }
    }
}
