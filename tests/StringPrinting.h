// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QTest>

#include <string>

// Lets QCOMPARE print std::string values, with control bytes made visible.
namespace QTest {
template <>
inline char *toString(const std::string &text)
{
    return QTest::toPrettyCString(text.data(), qsizetype(text.size()));
}
} // namespace QTest
