// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LogWriter.h"

// Writes a decoder log in the classic layout: a date block per day, one
// decode line of 67 characters per minute, transmit lines of 71 characters
// in about one minute in ten, and a few percent of lines that mention
// `operatorCall`. CR LF line ends throughout.
class ClassicLogWriter : public LogWriter
{
public:
    explicit ClassicLogWriter(std::string operatorCall);

protected:
    void appendPeriod(std::string &out, unsigned minute) override;

private:
    std::string m_call;
};
