// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Paths as the window shows and hands them on: the system's own separators,
// and no trailing separator except at a root ("C:\", "/").
//
// On Linux and other Unix systems a name is a string of bytes that need not
// be text. Such a path is held in a QString without loss: each byte that is
// not part of valid UTF-8 stands as the code unit U+DC00 + byte (0xDC80 to
// 0xDCFF, which valid text never holds alone), so fromNative() and toNative()
// give back the very bytes. shown() is what the user sees of it. On Windows
// names are UTF-16 already, and the paths are kept as they are.
namespace NativePaths {

// `path` in that form ("/" or "\\" as the system has it, "." and ".." steps
// and doubled separators gone; a bare drive "C:" as its root).
QString normalised(const QString &path);

// Whether letter case tells two names apart on this system.
Qt::CaseSensitivity nameCase();

// Whether `path` is `root` or lies below it.
bool isUnder(const QString &path, const QString &root);

// The path or name the system gave, held without loss.
QString fromNative(const QByteArray &bytes);

// The system's own bytes of a path held as fromNative() gives it (UTF-8 on
// Windows, where the paths are text).
QByteArray toNative(const QString &path);

// Whether `unit` stands for a byte that is not text (see above).
bool isEscapedByte(char16_t unit);

// The path as it is shown: each byte that is not text becomes U+FFFD, the
// replacement character.
QString shown(const QString &path);

// The folder the program was started in, held without loss; empty where the
// system cannot name it (it has been removed).
QString currentFolder();

// The folder that holds `path`, from its text alone; `path` itself at a root.
QString parentOf(const QString &path);

} // namespace NativePaths
