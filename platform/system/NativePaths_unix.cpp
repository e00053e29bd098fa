// SPDX-License-Identifier: GPL-3.0-or-later
#include "NativePaths.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

// Paths on Linux and other POSIX systems: names are bytes, and each byte
// that is not part of valid UTF-8 is held as an escaped code unit.
namespace NativePaths {

namespace {

constexpr char16_t escapeBase = 0xDC00;

bool continuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at `at`, or 0 where the byte there
// does not begin one (overlong forms, surrogates and values past U+10FFFF
// are no valid UTF-8).
int sequenceAt(const QByteArray &bytes, qsizetype at, char32_t &value)
{
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes.at(i)); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) {
        value = lead;
        return 1;
    }
    int length = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
        least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (int i = 1; i < length; ++i) {
        if (!continuation(byte(at + i)))
            return 0;
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

Qt::CaseSensitivity nameCase()
{
    return Qt::CaseSensitive;
}

QString fromNative(const QByteArray &bytes)
{
    QString path;
    path.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        char32_t value = 0;
        const int length = sequenceAt(bytes, at, value);
        if (length == 0) {
            path.append(QChar(char16_t(escapeBase + static_cast<unsigned char>(bytes.at(at)))));
            ++at;
            continue;
        }
        path.append(QString::fromUcs4(&value, 1));
        at += length;
    }
    return path;
}

QByteArray toNative(const QString &path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype textStart = 0;
    for (qsizetype i = 0; i <= path.size(); ++i) {
        if (i < path.size() && !isEscapedByte(path.at(i).unicode()))
            continue;
        bytes.append(QStringView(path).mid(textStart, i - textStart).toUtf8());
        if (i < path.size())
            bytes.append(static_cast<char>(path.at(i).unicode() - escapeBase));
        textStart = i + 1;
    }
    return bytes;
}

QString currentFolder()
{
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return {};
        buffer.resize(buffer.size() * 2);
    }
    return fromNative(QByteArray(buffer.data()));
}

} // namespace NativePaths
