// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FolderReader.h"

#include <QComboBox>

// A drop-down list of drives: the drive letters on Windows; elsewhere the
// volumes a user picks from (the root, the volume that holds the home folder,
// other disks and removable media, but no system or pseudo mounts). After
// them come the decoders' data folders on this machine, each under a name an
// operator recognises. The list is read again each time it opens, and shows
// every entry whole. changed() follows the user's choice of another entry;
// picking the entry already shown raises nothing. With the focus it is
// framed by the focus mark.
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

    // Shows the entry that holds `path` (the deepest one), without raising changed().
    void setDriveOf(const QString &path);

    // Lists the drives and data folders again, keeping the chosen one where it is still there.
    void refresh();

    void showPopup() override;

    // Whether a volume mounted at `root` with the given file system is one a
    // user would pick; pseudo, system and container mounts are not.
    static bool offered(const QString &root, const QByteArray &fileSystemType);

    // The decoders' data folders (WSJT-X, JTDX and their per-rig variants
    // "WSJT-X - <rig>", "JTDX - <rig>") among the `folders` of `dataLocation`,
    // as entry name and path.
    static QList<QPair<QString, QString>> decoderFolders(const QString &dataLocation, const QStringList &folders);

signals:
    void changed();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void picked(int index);
    void dataFoldersListed(const FolderListing &listing);
    void fitPopup();

    QString m_shown;
    QList<QPair<QString, QString>> m_dataFolders;  // as last found
    FolderReader m_dataReader;
};
