// SPDX-License-Identifier: GPL-3.0-or-later
#include "NativePaths.h"

#include <QDir>

// Paths on Windows: names are UTF-16 text already, kept as they are, and
// letter case does not tell two names apart.
namespace NativePaths {

Qt::CaseSensitivity nameCase()
{
    return Qt::CaseInsensitive;
}

QString fromNative(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes);
}

QByteArray toNative(const QString &path)
{
    return path.toUtf8();
}

QString currentFolder()
{
    return normalised(QDir::currentPath());
}

} // namespace NativePaths
