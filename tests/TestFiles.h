// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QTest>

#include <string>

// The test programs' own files: logs written for a run, condensed logs read back.
namespace TestFiles {

// Writes `bytes` as the whole file; a file that cannot be written fails the test.
inline void writeFile(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes.data(), bytes.size()), qint64(bytes.size()));
}

// The file's bytes, or "<missing>" where it cannot be read, so that a
// comparison names the case.
inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline std::string readBytes(const QString &path)
{
    return readAll(path).toStdString();
}

} // namespace TestFiles
