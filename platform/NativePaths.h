// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Paths as the window shows and hands them on: the system's own separators,
// and no trailing separator except at a root ("C:\", "/").
namespace NativePaths {

QString display(const QString &path);

// Whether `path` is `root` or lies below it.
bool isUnder(const QString &path, const QString &root);

} // namespace NativePaths
