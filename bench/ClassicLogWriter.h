// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// Writes a decoder log in the classic layout: a date block per day, one
// decode line of 67 characters per minute, transmit lines of 71 characters
// in about one minute in ten, and a few percent of lines that mention
// `operatorCall`. CR LF line ends throughout.
class ClassicLogWriter
{
public:
    explicit ClassicLogWriter(std::string operatorCall);

    // Writes at least `bytes` bytes to `path`; false if the file fails.
    bool write(const std::string &path, std::uint64_t bytes);

private:
    void appendMinute(std::string &out, unsigned minute);

    std::string m_call;
    std::uint32_t m_random = 12345;
};
