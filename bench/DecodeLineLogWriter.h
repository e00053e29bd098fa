// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LogWriter.h"

// Writes a decoder log in the newer layout of one line per decode, with date
// and time on every line:
//   200101_000000    14.076 Rx FT8    -12  1.4 2870 CQ W9XYZ GG66
// Four decodes per fifteen-second period, about a fifth of them mentioning
// `operatorCall`; no date blocks and no transmit lines. CR LF line ends.
class DecodeLineLogWriter : public LogWriter
{
public:
    explicit DecodeLineLogWriter(std::string operatorCall);

protected:
    void appendPeriod(std::string &out, unsigned period) override;

private:
    std::string m_call;
};
