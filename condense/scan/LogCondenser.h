// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "KeptLine.h"
#include "LongLine.h"
#include "ReadAhead.h"
#include "SubstringFinder.h"
#include "LineEndSearch.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class ByteSink;
class ByteSource;
class RunProgress;
class OutputBatch;

// Condenses a decoder log in one pass: the header, then the log's lines that
// an operator reviews, then the footer.
//
// Which lines are kept is KeptLine's to say. Kept lines are copied
// unchanged and end with CR LF. Lines end at CR LF, a lone CR or a lone LF; a
// last line without a terminator counts like any other.
//
// The log is read a few buffers ahead on a second thread (ReadAhead), so that
// reading overlaps the scan. Each filled buffer is searched as a whole: for
// the call sign, and sixty-four bytes at a time for the starts of lines that
// may be marker lines. Line bounds are found only around those places; every
// other line is passed over. Only the unfinished last line is carried to the
// next read: a short one is put in front of the next buffer's data; a longer
// one is kept by its place only (LongLine), searched as it streams past and,
// when it is kept, read again and copied a piece at a time. Each byte is
// looked at a bounded number of times however the reads cut the log, and
// memory stays at the buffers, whatever the length of the log or of its lines.
// Kept lines are gathered in a batch (OutputBatch) that is written whole.
class LogCondenser
{
public:
    static constexpr std::size_t defaultBufferSize = std::size_t{1} << 20;

    // Reads this large or larger are made ahead on a second thread; smaller
    // ones, which only the tests ask for, when they are needed (ReadAhead).
    static constexpr std::size_t readAheadSize = std::size_t{64} << 10;

    // Lines up to this long that run across two reads are joined in front of
    // the second read's data; longer ones are kept by their place in the log.
    static constexpr std::size_t defaultJoinRoom = 4096;

    // `callSign` is compared as these bytes: the call as it is written in the
    // log's 8-bit text. `bufferSize` is how much is read at a time (at least 1).
    // `reading` overrides the choice made by the buffer's size, for the tests
    // that read small pieces ahead too. `joinRoom` is how long a line cut by a
    // read may be and still be joined in one piece.
    explicit LogCondenser(std::string_view callSign, std::size_t bufferSize = defaultBufferSize,
                          std::size_t joinRoom = defaultJoinRoom);
    LogCondenser(std::string_view callSign, std::size_t bufferSize, ReadAhead::Reading reading,
                 std::size_t joinRoom = defaultJoinRoom);

    LogCondenser(const LogCondenser &) = delete;
    LogCondenser &operator=(const LogCondenser &) = delete;

    // Writes the whole condensed log of `input` to `output`. FileError from
    // either side passes through, and so does std::bad_alloc. With `progress`,
    // each read is added to it, and a stop asked for there ends the scan with
    // RunCancelled.
    void condense(ByteSource &input, ByteSink &output, RunProgress *progress = nullptr);

    // How many bytes of the log the last condense() looked at, counting each
    // look: the measure of its work, in proportion to the log's size.
    std::uint64_t bytesExamined() const { return m_examined; }

    // The most bytes the last condense() held at one time: its read buffers,
    // the output waiting to be written and the line carried between reads.
    std::size_t heldBytes() const { return m_held; }

private:
    void condenseBody(ByteSource &input, RunProgress *progress);
    void take(char *data, std::size_t size, bool atEnd);
    void beginLongLine(std::uint64_t offset, const char *data, std::size_t size);
    bool continueLongLine(const char *data, std::size_t size, bool atEnd, std::size_t &next);
    void endLongLine();
    bool completesCarriedLine(const char *data, std::size_t size, bool atEnd);
    std::size_t condenseLines(const char *data, std::size_t size, bool atEnd);
    std::size_t completeLinesEnd(const char *data, std::size_t size);
    void classify(const char *line, std::size_t length, bool containsCall, bool crLf);
    bool beginKeptLine(KeptLine::Kind kind);
    void write(const char *data, std::size_t size);
    void writeLine(const char *line, std::size_t length, bool crLf);
    void flush();

    std::string m_callSign;
    SubstringFinder m_call;
    LineEndSearch m_lineEnds;
    std::size_t m_readSize;
    ReadAhead::Reading m_reading;
    std::size_t m_joinRoom;
    std::string m_carried;       // the unfinished last line of the reads so far
    LongLine m_longLine;         // or that line kept by its place in the log
    bool m_inLongLine = false;
    bool m_longLineEndsWithCr = false;  // its CR is read, an LF may follow
    std::uint64_t m_offset = 0;  // where the data being taken begins in the log
    std::size_t m_outputCapacity;
    OutputBatch *m_output = nullptr;  // kept lines waiting to be written
    std::size_t m_outputSize = 0;     // in the batch being filled
    ByteSource *m_source = nullptr;
    const RunProgress *m_progress = nullptr;
    std::uint64_t m_examined = 0;
    std::size_t m_held = 0;
};
