// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>

class QImage;

// A Windows icon file (.ico) holding one picture per size, as the program's
// icon resource takes it: 32-bit bitmaps with their transparency mask for
// the small sizes, PNG for 256 x 256.
namespace IconFile {

// Each image must be square, 1 to 256 pixels wide.
QByteArray encode(const QList<QImage> &images);

} // namespace IconFile
