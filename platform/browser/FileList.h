// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FocusedEntryView.h"
#include "FolderReader.h"

#include <QListWidget>

// A list of every file in one folder, also names without a dot, sorted by
// name; hidden files are left out. A click on an entry, or an activation key (Enter, keypad
// Enter, Space) on the current one, raises clicked(); the arrow keys only
// move the selection. The current entry is always the selected one: entering
// the list selects it and tells a screen reader which file it is, and with
// the focus it is framed by the focus mark.
//
// The folder is read away from the window's thread (see FolderReader), when
// the path is set and again each time the list is shown, so a file made or
// removed since shows as it is now; a reading that finds the same files
// keeps the list and its selection. Names are held as NativePaths holds
// them: one that is not valid text is shown with the replacement character,
// and selectedName() gives the name itself.
class FileList : public FocusedEntryView<QListWidget>
{
    Q_OBJECT

public:
    explicit FileList(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    // Another folder empties the list until its files have been read.
    void setPath(const QString &path);

    // The chosen file's name, without its folder; empty if none.
    QString selectedName() const;

    // Makes the file `name` the chosen one, now or when the folder's files
    // have been read; another folder forgets it.
    void setSelectedName(const QString &name);

    // Whether a reading is on its way.
    bool reading() const { return m_reader.reading(); }

    // The lister its folders are read with from the next reading on.
    void setLister(std::shared_ptr<const FolderLister> lister) { m_reader.setLister(std::move(lister)); }

signals:
    void clicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void listed(const FolderListing &listing);
    void fill();

    QString m_path;
    QStringList m_names;  // every file of the folder, as last read
    QString m_wanted;     // the file to choose once it is listed
    FolderReader m_reader;
};
