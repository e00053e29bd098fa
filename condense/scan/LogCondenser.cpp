// SPDX-License-Identifier: GPL-3.0-or-later
#include "LogCondenser.h"

#include "ByteSink.h"
#include "ByteSource.h"
#include "CondensedLog.h"
#include "KeptLine.h"
#include "LineEndSearch.h"
#include "MarkerLineScanner.h"
#include "OutputBatch.h"
#include "ReadAhead.h"
#include "RunCancelled.h"
#include "RunProgress.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Kept lines are handed to the output in batches of about the read size,
// within these bounds: few large writes, and little memory for small reads.
constexpr std::size_t minOutputBatch = std::size_t{64} << 10;
constexpr std::size_t maxOutputBatch = std::size_t{512} << 10;

} // namespace

LogCondenser::LogCondenser(std::string_view callSign, std::size_t bufferSize, std::size_t joinRoom)
    : LogCondenser(callSign, bufferSize,
                   bufferSize >= readAheadSize ? ReadAhead::Reading::Ahead : ReadAhead::Reading::OnDemand,
                   joinRoom)
{
}

LogCondenser::LogCondenser(std::string_view callSign, std::size_t bufferSize, ReadAhead::Reading reading,
                           std::size_t joinRoom)
    : m_callSign(callSign)
    , m_call(m_callSign)
    , m_readSize(std::max<std::size_t>(bufferSize, 1))
    , m_reading(reading)
    , m_joinRoom(joinRoom)
    , m_longLine(m_call, m_callSign)
    , m_outputCapacity(std::clamp(m_readSize, minOutputBatch, maxOutputBatch))
{
}

void LogCondenser::condense(ByteSource &input, ByteSink &output, RunProgress *progress)
{
    m_source = &input;
    m_progress = progress;
    OutputBatch batch(output, m_outputCapacity);
    m_output = &batch;
    m_outputSize = 0;
    m_carried = std::string();
    m_inLongLine = false;
    m_longLineEndsWithCr = false;
    m_offset = 0;
    m_examined = 0;
    m_held = 0;

    const std::string header = CondensedLog::header();
    write(header.data(), header.size());
    condenseBody(input, progress);
    const std::string footer = CondensedLog::footer();
    write(footer.data(), footer.size());
    flush();
    m_output = nullptr;
    m_source = nullptr;
    m_progress = nullptr;
}

void LogCondenser::condenseBody(ByteSource &input, RunProgress *progress)
{
    ReadAhead ahead(input, m_readSize, m_joinRoom, progress, m_reading);
    for (;;) {
        const ReadAhead::Chunk chunk = ahead.next();
        const bool atEnd = chunk.size == 0;
        take(chunk.data, chunk.size, atEnd);
        m_held = std::max(m_held, ahead.heldBytes() + m_output->batchSize() + m_carried.capacity()
                                      + m_longLine.heldBytes());
        if (progress != nullptr) {
            progress->advance(chunk.size);
            if (progress->cancelled())
                throw RunCancelled();
        }
        if (atEnd)
            break;
    }
}

// Condenses the lines that data[0, size) completes, the carried line first,
// and carries its unfinished last line on. There are m_joinRoom bytes of room
// in front of data.
void LogCondenser::take(char *data, std::size_t size, bool atEnd)
{
    std::uint64_t offset = m_offset;  // where data[0] lies in the log
    m_offset += size;
    std::size_t from = 0;  // where the lines still to be classified begin
    if (m_inLongLine) {
        if (!continueLongLine(data, size, atEnd, from))
            return;
    } else if (!m_carried.empty()) {
        if (!completesCarriedLine(data, size, atEnd)) {
            if (m_carried.size() + size > m_joinRoom) {
                beginLongLine(offset - m_carried.size(), m_carried.data(), m_carried.size());
                m_carried.clear();
                continueLongLine(data, size, atEnd, from);  // the line goes on
            } else {
                m_carried.append(data, size);
            }
            return;
        }
        data -= m_carried.size();
        std::memcpy(data, m_carried.data(), m_carried.size());
        size += m_carried.size();
        offset -= m_carried.size();
        m_carried.clear();
    }
    const std::size_t used = from + condenseLines(data + from, size - from, atEnd);
    const std::size_t rest = size - used;
    if (rest > m_joinRoom)
        beginLongLine(offset + used, data + used, rest);
    else
        m_carried.assign(data + used, rest);
}

// Starts keeping the carried line by its place: it begins `offset` bytes
// into the log with data[0, size), which holds no line end but perhaps a CR
// at its very end.
void LogCondenser::beginLongLine(std::uint64_t offset, const char *data, std::size_t size)
{
    m_inLongLine = true;
    m_longLineEndsWithCr = size > 0 && data[size - 1] == '\r';
    m_longLine.begin(offset);
    m_longLine.extend(data, m_longLineEndsWithCr ? size - 1 : size);
}

// Goes on with the line kept by its place; true when data[0, size) ends it,
// with `next` set to where the line after it begins.
bool LogCondenser::continueLongLine(const char *data, std::size_t size, bool atEnd, std::size_t &next)
{
    if (atEnd || m_longLineEndsWithCr) {
        next = m_longLineEndsWithCr && size > 0 && data[0] == '\n' ? 1 : 0;
        endLongLine();
        return true;
    }
    const std::size_t lineEnd = m_lineEnds.next(data, 0, size);
    m_examined += lineEnd;
    m_longLine.extend(data, lineEnd);
    if (lineEnd == size)
        return false;
    if (data[lineEnd] == '\r' && lineEnd + 1 == size) {
        m_longLineEndsWithCr = true;  // an LF may follow in the next read
        return false;
    }
    next = lineEnd + (data[lineEnd] == '\r' && data[lineEnd + 1] == '\n' ? 2 : 1);
    endLongLine();
    return true;
}

// Classifies the line kept by its place, as classify() does a held line,
// and copies it from the log when it is kept.
void LogCondenser::endLongLine()
{
    m_inLongLine = false;
    m_longLineEndsWithCr = false;
    if (!beginKeptLine(KeptLine::kindOf(m_longLine.head(), m_longLine.containsCall())))
        return;
    flush();
    m_longLine.copy(*m_source, *m_output, m_progress);
    write(CondensedLog::lineEnd.data(), CondensedLog::lineEnd.size());
}

// Whether data[0, size) ends the carried line. A CR at the very end of data
// does not count yet: an LF may follow.
bool LogCondenser::completesCarriedLine(const char *data, std::size_t size, bool atEnd)
{
    if (atEnd || m_carried.back() == '\r')
        return true;
    const std::size_t lineEnd = m_lineEnds.next(data, 0, size);
    m_examined += lineEnd;
    return lineEnd < size && !(data[lineEnd] == '\r' && lineEnd + 1 == size);
}

// Where the complete lines of data[0, size) end: just after the last
// terminator, except that a CR at the very end is held back until the next
// read shows whether an LF follows it.
std::size_t LogCondenser::completeLinesEnd(const char *data, std::size_t size)
{
    std::size_t end = m_lineEnds.lineStart(data, size, 0);
    if (end == size && end > 0 && data[end - 1] == '\r')
        end = m_lineEnds.lineStart(data, end - 1, 0);
    m_examined += size - end;
    return end;
}

// Classifies every complete line in data[0, size) and returns where the
// unfinished last line begins; at the end of the input every line is
// complete. Only two kinds of line are looked at: those whose start may make
// them a marker line, and those around an occurrence of the call sign. All
// other lines are passed over inside the sixty-four byte scans.
std::size_t LogCondenser::condenseLines(const char *data, std::size_t size, bool atEnd)
{
    const std::size_t end = atEnd ? size : completeLinesEnd(data, size);
    m_examined += end;
    MarkerLineScanner markerLines(data, end);
    const std::size_t callLength = m_call.length();
    std::size_t callAt = m_call.find(data, end, 0);

    std::size_t pos = 0;  // a line start; everything before it is done
    while (pos < end) {
        if (callAt < pos)  // the last occurrence lay across a line end
            callAt = m_call.find(data, end, pos);
        const std::size_t markerLine = markerLines.next(pos);
        const std::size_t at = std::min(markerLine, callAt);
        if (at >= end)
            break;
        const std::size_t lineStart = at == markerLine ? markerLine : m_lineEnds.lineStart(data, callAt, pos);
        const std::size_t lineEnd = m_lineEnds.next(data, at, end);
        const bool containsCall = callAt <= lineEnd && lineEnd - callAt >= callLength;
        const bool crLf = lineEnd + 1 < end && data[lineEnd] == '\r' && data[lineEnd + 1] == '\n';
        classify(data + lineStart, lineEnd - lineStart, containsCall, crLf);
        pos = lineEnd == end ? end : lineEnd + (crLf ? 2 : 1);
    }
    return end;
}

// `crLf`: the line is followed by CR LF, the condensed log's own line end,
// which is then copied with it.
void LogCondenser::classify(const char *line, std::size_t length, bool containsCall, bool crLf)
{
    const std::string_view head(line, std::min(length, KeptLine::headSize));
    if (beginKeptLine(KeptLine::kindOf(head, containsCall)))
        writeLine(line, length, crLf);
}

// Whether a line of this kind is kept; if so, writes what goes before it: the
// empty line in front of a date marker.
bool LogCondenser::beginKeptLine(KeptLine::Kind kind)
{
    if (kind == KeptLine::Kind::KeptWithEmptyLineBefore)
        write(CondensedLog::lineEnd.data(), CondensedLog::lineEnd.size());
    return kind != KeptLine::Kind::Dropped;
}

void LogCondenser::writeLine(const char *line, std::size_t length, bool crLf)
{
    static_assert(CondensedLog::lineEnd == "\r\n");
    if (crLf) {
        write(line, length + CondensedLog::lineEnd.size());
        return;
    }
    write(line, length);
    write(CondensedLog::lineEnd.data(), CondensedLog::lineEnd.size());
}

// Fills the output's batches; each full one is handed over to be written.
void LogCondenser::write(const char *data, std::size_t size)
{
    if (size <= m_outputCapacity - m_outputSize) {
        std::memcpy(m_output->batch() + m_outputSize, data, size);
        m_outputSize += size;
        return;
    }
    while (size > 0) {
        if (m_outputSize == m_outputCapacity)
            flush();
        const std::size_t part = std::min(size, m_outputCapacity - m_outputSize);
        std::memcpy(m_output->batch() + m_outputSize, data, part);
        m_outputSize += part;
        data += part;
        size -= part;
    }
}

void LogCondenser::flush()
{
    if (m_outputSize > 0)
        m_output->hand(m_outputSize);
    m_outputSize = 0;
}
