// SPDX-License-Identifier: GPL-3.0-or-later
#include "DecodeLineLogWriter.h"

#include <cstdio>

namespace {

const char *const otherCalls[] = {"W9XYZ", "JA1XYZ", "DL1ABC", "VK2DEF", "G4GHI", "KA9JKL", "N0MNO"};
const char *const grids[] = {"GG66", "FN42", "PM95", "JO62", "QF56", "IO91", "EM12"};

} // namespace

DecodeLineLogWriter::DecodeLineLogWriter(std::string operatorCall)
    : m_call(std::move(operatorCall))
{
}

void DecodeLineLogWriter::appendPeriod(std::string &out, unsigned period)
{
    const unsigned seconds = period * 15;
    const unsigned day = seconds / 86400;
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "%02u%02u%02u_%02u%02u%02u", 20 + day / 336 % 80, day / 28 % 12 + 1,
                  day % 28 + 1, seconds / 3600 % 24, seconds / 60 % 60, seconds % 60);
    for (int decode = 0; decode < 4; ++decode) {
        const unsigned r = random();
        const char *other = otherCalls[r % 7];
        const char *grid = grids[(r >> 3) % 7];
        std::string message;
        const unsigned kind = (r >> 6) % 100;
        if (kind < 20)
            message = m_call + " " + other + " " + grid;
        else if (kind < 70)
            message = std::string("CQ ") + other + " " + grid;
        else
            message = std::string(otherCalls[(r >> 9) % 7]) + " " + other + " -" + std::to_string(r % 20 + 1);
        char line[96];
        std::snprintf(line, sizeof line, "%s    14.076 Rx FT8 %6d %4.1f %4u %s\r\n", stamp,
                      -int((r >> 4) % 25), double((r >> 9) % 30) / 10.0, 200 + (r >> 12) % 2800,
                      message.c_str());
        out.append(line);
    }
}
