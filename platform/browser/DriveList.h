// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DecoderFolders.h"
#include "FolderReader.h"
#include "LatestLogSearch.h"

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
// keep the window waiting), and the data folders and their logs are looked
// for away from the window's thread, joining the list when they have been
// found.
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

    // Looks for the decoders' data folder whose log changed last;
    // latestLogFound() tells it, where one has answered in time.
    void findLatestLog();

    // The lister the data folders are read and searched with from the next
    // reading on; at first the system's.
    void setLister(const std::shared_ptr<const FolderLister> &lister);

signals:
    void changed();
    void latestLogFound(const QString &folder);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Each system's volumes, by their top folder in native form, the root first.
    static QStringList volumeRoots();
    void picked(int index);
    void readDataFolders();
    void dataFoldersListed(const FolderListing &listing);
    void fitPopup();
    // Tells a screen reader the entry the closed list has moved to.
    void tellEntry();

    QString m_shown;
    QString m_followed;  // the path the entry shown stands for
    // Where decoders keep their data folders: the folders last found there
    // and the reader that looks.
    struct DataLocation
    {
        DecoderFolders::Location where;
        QList<QPair<QString, QString>> found;
        std::unique_ptr<FolderReader> reader;
    };
    std::vector<DataLocation> m_locations;
    LatestLogSearch m_latestLogSearch;
};
