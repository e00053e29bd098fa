// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// The decoders' data folders on this machine: where decoders keep them, how
// their folders are named, and the entries the drive list offers for them.
namespace DecoderFolders {

// The log a decoder keeps in its data folder, and the one name the run
// button is shown for.
inline const QString logName = QStringLiteral("ALL.TXT");

// A folder that holds decoders' data folders, and what tells its entries
// apart from those of another ("" or " (Flatpak)").
struct Location
{
    QString folder;
    QString origin;
};

// The desktop's data folder, and the sandboxes of the decoder's Flatpak (on
// Linux), under its application id of now and the one it had until January
// 2026. Asks no disk.
QList<Location> locations();

// Whether `name`, a folder's name as NativePaths holds it, is that of a
// decoder's data folder: WSJT-X, JTDX and their per-rig variants
// "WSJT-X - <rig>", "JTDX - <rig>". Decided on the name's code units, so a
// rig name that is no valid text counts too.
bool isDecoderFolder(const QString &name);

// The decoders' data folders among the `folders` of `location`, as entry
// name ("WSJT-X log folder", with the location's origin after it) and path.
QList<QPair<QString, QString>> entries(const Location &location, const QStringList &folders);

} // namespace DecoderFolders
