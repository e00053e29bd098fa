// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FocusedEntryView.h"
#include "FolderReader.h"

#include <QTreeWidget>

// A classic folder list: the current path's folders from the root down, shown
// open, then the current folder's sub-folders, shown closed, hidden ones
// included. A single click moves the selection only and raises clicked(); a
// double click or Enter opens the entry. Entering the list tells a screen
// reader its current entry; with the focus, that entry is framed by the
// focus mark.
//
// Folders are read away from the window's thread (see FolderReader): opening
// one changes the path, and raises pathChanged(), once its listing has come.
// Until then the list stays as it was and takes clicks; a folder that cannot
// be read raises cannotOpen(), one that has not answered within about a
// second raises notAnswering() and still opens if it answers later. Each
// time the list is shown its folder is read again, keeping the selection.
//
// Paths are held as NativePaths holds them, so a folder whose name is not
// valid text is listed (with the replacement character for what is not
// text) and opened by its own bytes.
class FolderList : public FocusedEntryView<QTreeWidget>
{
    Q_OBJECT

public:
    explicit FolderList(QWidget *parent = nullptr);

    // The current path: native separators, no trailing separator except at a root.
    QString path() const { return m_path; }

    // Opens `path` once it has been read; a path that cannot be read (a
    // drive that is not ready, a folder that is gone) raises cannotOpen()
    // and changes nothing.
    void setPath(const QString &path);

    // Opens `preferred` where that is given and can be read, else the
    // folder the program was started in; where that cannot be read (it has
    // been removed), the home folder, and failing that the root. The path is
    // the first of these until the reading says otherwise, so it is never
    // empty.
    void openStartFolder(const QString &preferred = {});

    // Whether no folder has been asked for since the start folder.
    bool atStartFolder() const { return m_atStartFolder; }

    // Whether the program was started in the home folder, as a desktop's
    // menu starts programs.
    static bool startedAtHome();

    // Reads the current folder again; if it is gone, its nearest ancestor
    // that can still be read becomes the current folder.
    void reread();

    // Whether a reading is on its way.
    bool reading() const { return m_reader.reading(); }

    // The lister its folders are read with from the next reading on.
    void setLister(std::shared_ptr<const FolderLister> lister) { m_reader.setLister(std::move(lister)); }

signals:
    void clicked();
    void pathChanged();
    // `folder` was asked for but cannot be opened.
    void cannotOpen(const QString &folder);
    // `folder` was asked for and has not answered yet.
    void notAnswering(const QString &folder);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void open(QTreeWidgetItem *item);
    void listed(const FolderListing &listing);
    void fill();

    QString m_path;
    QStringList m_subFolders;  // as last read
    FolderReader m_reader;
    bool m_atStartFolder = true;
    bool m_failureToTell = false;  // whether a failure of the latest request is to be told
};
