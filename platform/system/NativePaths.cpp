// SPDX-License-Identifier: GPL-3.0-or-later
#include "NativePaths.h"

#include <QDir>

// What every system shares; each system's own part is in NativePaths_unix.cpp
// or NativePaths_win.cpp.
namespace NativePaths {

bool isEscapedByte(char16_t unit)
{
    return unit >= 0xDC80 && unit <= 0xDCFF;
}

QString normalised(const QString &path)
{
    const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(path));
    if (clean.isEmpty())
        return clean;
    QString native = QDir::toNativeSeparators(clean);
    // A bare drive ("C:") is shown as its root ("C:\").
    if (native.size() == 2 && native.at(1) == QLatin1Char(':'))
        native.append(QDir::separator());
    return native;
}

bool isUnder(const QString &path, const QString &root)
{
    if (path.compare(root, nameCase()) == 0)
        return true;
    const QString prefix = root.endsWith(QDir::separator()) ? root : root + QDir::separator();
    return path.startsWith(prefix, nameCase());
}

QString shown(const QString &path)
{
    QString text = path;
    for (QChar &unit : text) {
        if (isEscapedByte(unit.unicode()))
            unit = QChar::ReplacementCharacter;
    }
    return text;
}

QString parentOf(const QString &path)
{
    const QString up = normalised(path + QStringLiteral("/.."));
    // Above a root there is nothing: cleaning keeps the "..".
    if (up.isEmpty() || up.endsWith(QStringLiteral("..")))
        return path;
    return up;
}

} // namespace NativePaths
