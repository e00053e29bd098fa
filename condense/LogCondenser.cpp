// SPDX-License-Identifier: GPL-3.0-or-later
#include "LogCondenser.h"

#include "BlockScanner.h"
#include "ByteSink.h"
#include "ByteSource.h"
#include "CondensedLog.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t outputFlushSize = std::size_t{64} << 10;

bool startsWith(const char *line, std::size_t length, std::string_view marker)
{
    return length >= marker.size() && std::memcmp(line, marker.data(), marker.size()) == 0;
}

// "Trans" in columns 9 to 13: the transmit lines.
bool isTransmitLine(const char *line, std::size_t length)
{
    return length >= 13 && std::memcmp(line + 8, "Trans", 5) == 0;
}

// Where the complete lines of data[0, size) end: just after the last
// terminator, except that a CR at the very end is held back until the next
// read shows whether an LF follows it.
std::size_t completeLinesEnd(const char *data, std::size_t size)
{
    std::size_t end = size;
    while (end > 0 && !BlockScanner::isTerminator(data[end - 1]))
        --end;
    if (end == size && end > 0 && data[end - 1] == '\r') {
        --end;
        while (end > 0 && !BlockScanner::isTerminator(data[end - 1]))
            --end;
    }
    return end;
}

// The start of the line that holds position `at`, looking no further back
// than `floor`, itself a line start.
std::size_t lineStartOf(const char *data, std::size_t at, std::size_t floor)
{
    while (at > floor && !BlockScanner::isTerminator(data[at - 1]))
        --at;
    return at;
}

} // namespace

LogCondenser::LogCondenser(std::string_view callSign, std::size_t bufferSize)
    : m_call(callSign)
    , m_readSize(std::max<std::size_t>(bufferSize, 1))
{
}

void LogCondenser::condense(ByteSource &input, ByteSink &output)
{
    m_sink = &output;
    m_output.clear();
    m_output.reserve(outputFlushSize + 256);

    const std::string header = CondensedLog::header();
    write(header.data(), header.size());
    condenseBody(input);
    const std::string footer = CondensedLog::footer();
    write(footer.data(), footer.size());
    flush();
    m_sink = nullptr;
}

void LogCondenser::condenseBody(ByteSource &input)
{
    m_input.resize(m_readSize);
    std::size_t carried = 0;
    for (;;) {
        // A carried line that fills the buffer doubles it, so a line longer
        // than the buffer takes a few reads, not one per buffer's length.
        if (m_input.size() - carried < m_readSize)
            m_input.resize(std::max(carried + m_readSize, 2 * m_input.size()));
        const std::size_t got = input.read(m_input.data() + carried, m_input.size() - carried);
        const bool atEnd = got == 0;
        const std::size_t filled = carried + got;
        const std::size_t used = condenseLines(m_input.data(), filled, atEnd);
        if (atEnd)
            break;
        carried = filled - used;
        std::memmove(m_input.data(), m_input.data() + used, carried);
    }
}

// Classifies every complete line in data[0, size) and returns where the
// unfinished last line begins; at the end of the input every line is
// complete. Only two kinds of line are looked at: those whose start may make
// them a marker line, and those around an occurrence of the call sign. All
// other lines are passed over inside the sixty-four byte scans.
std::size_t LogCondenser::condenseLines(const char *data, std::size_t size, bool atEnd)
{
    const std::size_t end = atEnd ? size : completeLinesEnd(data, size);
    BlockScanner markerLines(BlockScanner::Kind::MarkerLineStarts, data, end);
    BlockScanner terminators(BlockScanner::Kind::Terminators, data, end);
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
        const std::size_t lineStart = at == markerLine ? markerLine : lineStartOf(data, callAt, pos);
        const std::size_t lineEnd = terminators.next(at);
        const bool containsCall = callAt <= lineEnd && lineEnd - callAt >= callLength;
        classify(data + lineStart, lineEnd - lineStart, containsCall);
        pos = lineEnd == end ? end
            : lineEnd + (data[lineEnd] == '\r' && lineEnd + 1 < end && data[lineEnd + 1] == '\n' ? 2 : 1);
    }
    return end;
}

void LogCondenser::classify(const char *line, std::size_t length, bool containsCall)
{
    if (startsWith(line, length, "UTC")) {
        writeLine(line, 0);
        writeLine(line, length);
    } else if (isTransmitLine(line, length) || startsWith(line, length, "---") || containsCall) {
        writeLine(line, length);
    }
}

void LogCondenser::writeLine(const char *line, std::size_t length)
{
    write(line, length);
    write(CondensedLog::lineEnd.data(), CondensedLog::lineEnd.size());
}

void LogCondenser::write(const char *data, std::size_t size)
{
    if (m_output.size() + size > outputFlushSize) {
        flush();
        if (size > outputFlushSize) {
            m_sink->write(data, size);
            return;
        }
    }
    m_output.append(data, size);
}

void LogCondenser::flush()
{
    if (!m_output.empty())
        m_sink->write(m_output.data(), m_output.size());
    m_output.clear();
}
