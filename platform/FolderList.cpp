// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderList.h"

#include "NativePaths.h"

#include <QDir>
#include <QFileIconProvider>

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
    const QDir folder(path);
    if (path.isEmpty() || !folder.exists() || !folder.isReadable())
        return false;
    const QString native = NativePaths::display(folder.absolutePath());
    const bool changed = native != m_path;
    m_path = native;
    fill();
    if (changed)
        emit pathChanged();
    return true;
}

void FolderList::open(QTreeWidgetItem *item)
{
    setPath(item->data(0, Qt::UserRole).toString());
}

void FolderList::fill()
{
    clear();
    const QIcon closedFolder = QFileIconProvider().icon(QFileIconProvider::Folder);

    // The chain from the root down to the current folder.
    QStringList chain;
    for (QDir dir(m_path);; ) {
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
        item->setIcon(0, closedFolder);
        parent = item;
    }

    const QDir current(m_path);
    const QStringList subFolders = current.entryList(QDir::Dirs | QDir::NoDotAndDotDot,
                                                     QDir::Name | QDir::IgnoreCase);
    for (const QString &name : subFolders) {
        auto *item = new QTreeWidgetItem(parent, {name});
        item->setData(0, Qt::UserRole, NativePaths::display(current.filePath(name)));
        item->setIcon(0, closedFolder);
    }
    expandAll();
    setCurrentItem(parent);
}
