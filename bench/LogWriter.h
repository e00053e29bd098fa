// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// Writes a generated decoder log, one period of the decoder at a time.
class LogWriter
{
public:
    virtual ~LogWriter() = default;

    // Writes at least `bytes` bytes to `path`; false if the file fails.
    bool write(const std::string &path, std::uint64_t bytes);

protected:
    // Appends the lines of the decoder's period number `period`.
    virtual void appendPeriod(std::string &out, unsigned period) = 0;

    // The next number of a fixed pseudo-random sequence.
    unsigned random();

private:
    std::uint32_t m_random = 12345;
};
