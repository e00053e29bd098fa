// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

// A drop-down list of drives: the drive letters on Windows; elsewhere the
// volumes a user picks from: the root, the volume that holds the home folder,
// and removable media. changed() follows the user's choice of another drive.
class DriveList : public QComboBox
{
    Q_OBJECT

public:
    explicit DriveList(QWidget *parent = nullptr);

    // The chosen drive's top folder, as a folder list's path.
    QString drive() const;

    // Chooses the drive that holds `path`, without raising changed().
    void setDriveOf(const QString &path);

    // Lists the drives again, keeping the chosen one where it is still there.
    void refresh();

signals:
    void changed();
};
