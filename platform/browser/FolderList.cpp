// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderList.h"

#include "NativePaths.h"

#include <QDir>
#include <QShowEvent>
#include <QStyle>

namespace {

QString childOf(const QString &folder, const QString &name)
{
    return NativePaths::normalised(folder + QLatin1Char('/') + name);
}

bool isRoot(const QString &folder)
{
    return NativePaths::parentOf(folder) == folder;
}

} // namespace

FolderList::FolderList(QWidget *parent)
    : FocusedEntryView(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(12);
    setExpandsOnDoubleClick(false);
    connect(this, &QTreeWidget::itemClicked, this, &FolderList::clicked);
    connect(this, &QTreeWidget::itemActivated, this, &FolderList::open);
    connect(&m_reader, &FolderReader::listed, this, &FolderList::listed);
    connect(&m_reader, &FolderReader::notAnswering, this, &FolderList::notAnswering);
}

void FolderList::setPath(const QString &path)
{
    m_atStartFolder = false;
    m_failureToTell = true;
    m_reader.read({NativePaths::normalised(path)});
}

void FolderList::openStartFolder(const QString &preferred)
{
    const QString start = NativePaths::currentFolder();
    const QString home = NativePaths::normalised(QDir::homePath());
    QStringList candidates{start.isEmpty() ? home : start, home, NativePaths::normalised(QDir::rootPath())};
    if (!preferred.isEmpty())
        candidates.prepend(NativePaths::normalised(preferred));
    m_path = candidates.first();
    fill();
    m_failureToTell = false;
    m_reader.read(candidates);
}

bool FolderList::startedAtHome()
{
    const QString start = NativePaths::currentFolder();
    // Also where the home folder is reached through a link.
    return !start.isEmpty() && (start == NativePaths::normalised(QDir::homePath())
                                || start == NativePaths::normalised(QDir(QDir::homePath()).canonicalPath()));
}

void FolderList::reread()
{
    QStringList chain{m_path};
    while (!isRoot(chain.last()))
        chain.append(NativePaths::parentOf(chain.last()));
    m_failureToTell = false;
    m_reader.read(chain);
}

void FolderList::open(QTreeWidgetItem *item)
{
    setPath(item->data(0, Qt::UserRole).toString());
}

void FolderList::listed(const FolderListing &listing)
{
    if (!listing.listed) {
        if (m_failureToTell)
            emit cannotOpen(listing.folder);
        return;
    }
    const bool changed = listing.folder != m_path;
    if (!changed && listing.folders == m_subFolders)
        return;
    m_path = listing.folder;
    m_subFolders = listing.folders;
    fill();
    if (changed)
        emit pathChanged();
}

void FolderList::showEvent(QShowEvent *event)
{
    QTreeWidget::showEvent(event);
    if (!event->spontaneous() && !m_reader.reading())
        reread();
}

void FolderList::fill()
{
    // The selection stays where it was, where that entry is still there.
    const QString selected = currentItem() != nullptr ? currentItem()->data(0, Qt::UserRole).toString() : QString();
    clear();
    const QIcon openFolder = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedFolder = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The chain from the root down to the current folder, all of it open;
    // worked out from the path's text, without asking the disk.
    QStringList chain{m_path};
    while (!isRoot(chain.first()))
        chain.prepend(NativePaths::parentOf(chain.first()));
    QTreeWidgetItem *parent = nullptr;
    for (const QString &folder : chain) {
        const QString name = isRoot(folder) ? folder : folder.section(QDir::separator(), -1);
        auto *item = parent ? new QTreeWidgetItem(parent, {NativePaths::shown(name)})
                            : new QTreeWidgetItem(this, {NativePaths::shown(name)});
        item->setData(0, Qt::UserRole, folder);
        item->setIcon(0, openFolder);
        parent = item;
    }

    // Its sub-folders, hidden ones sorted in among the others.
    QTreeWidgetItem *current = parent;
    for (const QString &name : std::as_const(m_subFolders)) {
        auto *item = new QTreeWidgetItem(parent, {NativePaths::shown(name)});
        item->setData(0, Qt::UserRole, childOf(m_path, name));
        item->setIcon(0, closedFolder);
        if (item->data(0, Qt::UserRole).toString() == selected)
            current = item;
    }
    expandAll();
    setCurrentItem(current);
}
