// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SubstringFinder.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class ByteSink;
class ByteSource;

// Condenses a decoder log in one pass: the header, then the log's lines that
// an operator reviews, then the footer.
//
// A line is kept when it begins with "UTC" (written after one empty line),
// carries "Trans" in columns 9 to 13, begins with "---", or contains the call
// sign anywhere (byte for byte, case-sensitive). Kept lines are copied
// unchanged and end with CR LF. Lines end at CR LF, a lone CR or a lone LF; a
// last line without a terminator counts like any other.
//
// The log is read into one buffer that is reused for every read. Each filled
// buffer is searched as a whole: for the call sign, and sixty-four bytes at a
// time for the starts of lines that may be marker lines. Line bounds are found
// only around those places; every other line is passed over. Only the
// unfinished last line is carried to the next read, so memory stays at the
// buffer plus the longest line, whatever the size of the log.
class LogCondenser
{
public:
    static constexpr std::size_t defaultBufferSize = std::size_t{1} << 20;

    // `callSign` is compared as these bytes: the call as it is written in the
    // log's 8-bit text. `bufferSize` is how much is read at a time (at least 1).
    explicit LogCondenser(std::string_view callSign, std::size_t bufferSize = defaultBufferSize);

    // Writes the whole condensed log of `input` to `output`. FileError from
    // either side passes through.
    void condense(ByteSource &input, ByteSink &output);

private:
    void condenseBody(ByteSource &input);
    std::size_t condenseLines(const char *data, std::size_t size, bool atEnd);
    void classify(const char *line, std::size_t length, bool containsCall);
    void write(const char *data, std::size_t size);
    void writeLine(const char *line, std::size_t length);
    void flush();

    SubstringFinder m_call;
    std::size_t m_readSize;
    std::vector<char> m_input;   // carried partial line, then the newest read
    std::string m_output;        // kept lines waiting to be written
    ByteSink *m_sink = nullptr;
};
