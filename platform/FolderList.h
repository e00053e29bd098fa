// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTreeWidget>

// A classic folder list: the current path's folders from the root down, shown
// open, then the current folder's sub-folders, shown closed, hidden ones
// included. A single click moves the selection only and raises clicked(); a
// double click or Enter opens the entry, which changes the path and raises
// pathChanged(). An entry that can no longer be opened raises cannotOpen().
// Entering the list tells a screen reader its current entry; with the focus,
// that entry is framed by the focus mark.
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

    // Opens the folder the program was started in; where that cannot be
    // listed (removed, or its name is not valid text), the home folder, and
    // failing that the root. The path is never left empty.
    void openStartFolder();

    // Lists the current folder again; if it is gone, its nearest ancestor
    // that can still be listed becomes the current folder.
    void reread();

signals:
    void clicked();
    void pathChanged();
    // `folder` was listed but cannot be opened now.
    void cannotOpen(const QString &folder);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void open(QTreeWidgetItem *item);
    void fill();
    void announceCurrent();

    QString m_path;
};
