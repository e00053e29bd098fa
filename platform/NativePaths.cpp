// SPDX-License-Identifier: GPL-3.0-or-later
#include "NativePaths.h"

#include <QDir>

namespace NativePaths {

QString display(const QString &path)
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
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    if (path.compare(root, cs) == 0)
        return true;
    const QString prefix = root.endsWith(QDir::separator()) ? root : root + QDir::separator();
    return path.startsWith(prefix, cs);
}

} // namespace NativePaths
