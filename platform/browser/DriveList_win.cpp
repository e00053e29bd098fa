// SPDX-License-Identifier: GPL-3.0-or-later
// The drive list on Windows: the drive letters.
#include "DriveList.h"

#include "NativePaths.h"

#include <QDir>
#include <QFileInfo>

QStringList DriveList::volumeRoots()
{
    // The drive letters in use, from the system's record of them: no drive
    // is asked anything.
    QStringList roots;
    for (const QFileInfo &drive : QDir::drives())
        roots.append(NativePaths::normalised(drive.absoluteFilePath()));
    return roots;
}

void DriveList::tellEntry()
{
    // Only through AT-SPI has the new entry of a closed list been found to go
    // unread; here a report of focus on top of the list's own could have the
    // entry read twice.
}
