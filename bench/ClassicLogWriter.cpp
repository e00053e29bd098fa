// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClassicLogWriter.h"

#include <cstdio>

namespace {

const char *const otherCalls[] = {"W9XYZ", "JA1XYZ", "DL1ABC", "VK2DEF", "G4GHI", "KA9JKL", "N0MNO"};
const char *const grids[] = {"EN37", "FN42", "PM95", "JO62", "QF56", "IO91", "EM12"};
const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string padded(std::string text, std::size_t width)
{
    text.resize(width, ' ');
    return text;
}

} // namespace

ClassicLogWriter::ClassicLogWriter(std::string operatorCall)
    : m_call(std::move(operatorCall))
{
}

void ClassicLogWriter::appendPeriod(std::string &out, unsigned minute)
{
    const unsigned r = random();
    const unsigned day = minute / 1440;
    char time[8];
    std::snprintf(time, sizeof time, "%02u%02u00", minute / 60 % 24, minute % 60);

    if (minute % 1440 == 0) {
        char date[40];
        std::snprintf(date, sizeof date, "UTC Date: %04u %s %02u", 2008 + day / 336, months[day / 28 % 12], day % 28 + 1);
        out.append("\r\n").append(date).append("\r\n").append(std::string(21, '-')).append("\r\n");
    }

    const char *other = otherCalls[r % 7];
    const char *grid = grids[(r >> 3) % 7];
    if (r % 10 == 0) {
        const std::string message = "CQ " + m_call + " FN42";
        out.append(time).append("  Transmitting:  JT65A   ").append(padded(message, 28))
            .append("  ").append((r >> 4) % 2 ? "(Shorthand)" : "           ").append("\r\n");
        return;
    }

    std::string message;
    const unsigned kind = (r >> 6) % 100;
    if (kind < 4)
        message = m_call + " " + other + " " + grid;  // a few percent answer the operator
    else if (kind < 70)
        message = std::string("CQ ") + other + " " + grid;
    char decode[80];
    std::snprintf(decode, sizeof decode, "%s %3u %4d %4.1f %5d %3u * %s", time, r % 12,
                  -int((r >> 4) % 30), double((r >> 9) % 40) / 10.0, int((r >> 12) % 400) - 200,
                  (r >> 5) % 9, message.c_str());
    out.append(padded(decode, 67)).append("\r\n");
}
