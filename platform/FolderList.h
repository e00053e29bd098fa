// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTreeWidget>

// A classic folder list: the current path's folders from the root down, then
// the current folder's sub-folders. A single click moves the selection only
// and raises clicked(); a double click or Enter opens the entry, which
// changes the path and raises pathChanged().
class FolderList : public QTreeWidget
{
    Q_OBJECT

public:
    explicit FolderList(QWidget *parent = nullptr);

    // The current path: native separators, no trailing separator except at a root.
    QString path() const { return m_path; }

    // Opens `path`. Returns false, and changes nothing, when it cannot be
    // listed (a drive that is not ready, a folder that is gone).
    bool setPath(const QString &path);

signals:
    void clicked();
    void pathChanged();

private:
    void open(QTreeWidgetItem *item);
    void fill();

    QString m_path;
};
