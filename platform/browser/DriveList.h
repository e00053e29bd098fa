// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FolderReader.h"

#include <QComboBox>

#include <memory>
#include <vector>

// A drop-down list of drives: the drive letters on Windows; elsewhere the
// volumes a user picks from (the root, the volume that holds the home folder,
// other disks and removable media, but no system or pseudo mounts). After
// them come the decoders' data folders on this machine, each under a name an
// operator recognises (also those of the decoder's Flatpak). The list is
// read again each time it opens, and shows every entry whole. changed()
// follows the user's choice of another entry; picking the entry already
// shown raises nothing. With the focus it is framed by the focus mark. Moving through the closed list by keyboard tells
// a screen reader each entry it comes to, as it is shown; an entry shown
// without the user, when the list is read again, is not told.
//
// Nothing here waits for a disk: the volumes come from the system's table of
// mounts, without asking any of them (a network share that is gone would
// keep the window waiting), and the data folders are looked for away from
// the window's thread, joining the list when they have been found.
class DriveList : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveList(QWidget *parent = nullptr);

    // The chosen entry's folder, as a folder list's path.
    QString drive() const;

    // Shows the entry that holds `path` (the deepest one), without raising
    // changed(); data folders found later are shown for it too.
    void setDriveOf(const QString &path);

    // Lists the drives and data folders again, keeping the chosen one where it is still there.
    void refresh();

    void showPopup() override;

    // Whether a volume mounted at `root` with the given file system is one a
    // user would pick; pseudo, system and container mounts are not.
    static bool offered(const QString &root, const QByteArray &fileSystemType);

    // The decoders' data folders (WSJT-X, JTDX and their per-rig variants
    // "WSJT-X - <rig>", "JTDX - <rig>") among the `folders` of `dataLocation`,
    // as entry name ("WSJT-X log folder", with `origin` after it) and path.
    static QList<QPair<QString, QString>> decoderFolders(const QString &dataLocation, const QStringList &folders,
                                                         const QString &origin = {});

    // The decoders' data folder whose ALL.TXT changed last; empty where none
    // holds one. Asks the disk: the folders lie in the home folder.
    static QString latestLogFolder();

signals:
    void changed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void picked(int index);
    void readDataFolders();
    void dataFoldersListed(const FolderListing &listing);
    void fitPopup();
    // Tells a screen reader the entry the closed list has moved to.
    void tellEntry();

    QString m_shown;
    QString m_followed;  // the path the entry shown stands for
    // Where decoders keep their data folders: each with what tells its
    // entries apart, the folders last found there and the reader that looks.
    struct DataLocation
    {
        QString folder;
        QString origin;
        QList<QPair<QString, QString>> found;
        std::unique_ptr<FolderReader> reader;
    };
    std::vector<DataLocation> m_locations;
};
