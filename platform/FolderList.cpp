// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderList.h"

#include "FocusMark.h"
#include "NativePaths.h"

#include <QDir>
#include <QPainter>
#include <QStyle>
#include <QTimer>

namespace {

bool listable(const QString &path)
{
    const QDir folder(path);
    return !path.isEmpty() && folder.exists() && folder.isReadable();
}

} // namespace

FolderList::FolderList(QWidget *parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(12);
    setExpandsOnDoubleClick(false);
    connect(this, &QTreeWidget::itemClicked, this, &FolderList::clicked);
    connect(this, &QTreeWidget::itemActivated, this, &FolderList::open);
}

bool FolderList::setPath(const QString &path)
{
    if (!listable(path))
        return false;
    const QString native = NativePaths::display(QDir(path).absolutePath());
    const bool changed = native != m_path;
    m_path = native;
    fill();
    if (changed)
        emit pathChanged();
    return true;
}

void FolderList::openStartFolder()
{
    if (!setPath(QDir::currentPath()) && !setPath(QDir::homePath()))
        setPath(QDir::rootPath());
}

void FolderList::reread()
{
    QString folder = QDir::fromNativeSeparators(m_path);
    while (!listable(folder) && !QDir(folder).isRoot()) {
        const QString up = QDir::cleanPath(folder + QStringLiteral("/.."));
        if (up.isEmpty() || up == folder)
            break;
        folder = up;
    }
    if (!setPath(folder))
        fill();
}

void FolderList::open(QTreeWidgetItem *item)
{
    const QString folder = item->data(0, Qt::UserRole).toString();
    if (!setPath(folder))
        emit cannotOpen(folder);
}

// The focus event for the list as a whole follows this handler; the current
// entry is told after it, or a screen reader names only the list.
void FolderList::focusInEvent(QFocusEvent *event)
{
    QTreeWidget::focusInEvent(event);
    QTimer::singleShot(0, this, &FolderList::announceCurrent);
}

void FolderList::announceCurrent()
{
    // Qt's tree tells a new current entry; told again, it is heard again.
    if (hasFocus() && currentIndex().isValid())
        QTreeWidget::currentChanged(currentIndex(), currentIndex());
}

// Qt's tree announces a new current entry as focused also while the list has
// no focus (when a drive pick lists another folder); only the focused list
// says so.
void FolderList::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (hasFocus())
        QTreeWidget::currentChanged(current, previous);
    else
        QAbstractItemView::currentChanged(current, previous);
}

void FolderList::paintEvent(QPaintEvent *event)
{
    QTreeWidget::paintEvent(event);
    if (!hasFocus() || currentItem() == nullptr)
        return;
    QPainter painter(viewport());
    FocusMark::draw(painter, visualItemRect(currentItem()),
                    palette().color(currentItem()->isSelected() ? QPalette::Highlight : QPalette::Base));
}

void FolderList::fill()
{
    clear();
    const QIcon openFolder = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedFolder = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The chain from the root down to the current folder, all of it open.
    QStringList chain;
    for (QDir dir(m_path);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    QTreeWidgetItem *parent = nullptr;
    for (const QString &folder : chain) {
        const QString native = NativePaths::display(folder);
        const QString name = QDir(folder).isRoot() ? native : QDir(folder).dirName();
        auto *item = parent ? new QTreeWidgetItem(parent, {name}) : new QTreeWidgetItem(this, {name});
        item->setData(0, Qt::UserRole, native);
        item->setIcon(0, openFolder);
        parent = item;
    }

    // Its sub-folders, hidden ones sorted in among the others.
    const QDir current(m_path);
    const QStringList subFolders = current.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                                                     QDir::Name | QDir::IgnoreCase);
    for (const QString &name : subFolders) {
        auto *item = new QTreeWidgetItem(parent, {name});
        item->setData(0, Qt::UserRole, NativePaths::display(current.filePath(name)));
        item->setIcon(0, closedFolder);
    }
    expandAll();
    setCurrentItem(parent);
}
