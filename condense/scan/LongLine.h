// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "KeptLine.h"
#include "SubstringFinder.h"
#include "LineEndSearch.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class ByteSource;
class RunProgress;
class OutputBatch;

// A line too long to hold, kept by its place in the log. While its bytes
// stream past it keeps only what the rules ask about: its first bytes for
// the marker tests (KeptLine::headSize), where the call sign first occurs,
// and its last bytes (one fewer than the call sign has) so that a call sign
// cut by a read is still found. A kept line is read again from the log and copied a piece
// at a time, so memory stays at the buffers whatever the line's length.
class LongLine
{
public:
    static constexpr std::uint64_t npos = ~std::uint64_t{0};
    static constexpr std::size_t headSize = KeptLine::headSize;

    // `finder` searches for `callSign`; both must outlive this line.
    LongLine(const SubstringFinder &finder, std::string_view callSign);

    // Starts a line that begins `offset` bytes into the log.
    void begin(std::uint64_t offset);
    // The next bytes of the line, none of them a terminator.
    void extend(const char *data, std::size_t size);

    // The first bytes of the line, up to headSize of them.
    std::string_view head() const { return {m_head, m_headLength}; }
    bool containsCall() const { return m_callAt != npos; }

    // Writes the line's bytes to `output`, read again from `source` into
    // the output's batches one after another. Throws FileError when the
    // log no longer holds the line as it was read: fewer bytes, a line end
    // inside it, or other bytes where the marker or the call sign stood.
    // A stop asked for in `progress` ends the copy with RunCancelled.
    void copy(ByteSource &source, OutputBatch &output, const RunProgress *progress) const;

    // The bytes held beside the log's buffers: a few times the call's length.
    std::size_t heldBytes() const { return m_tail.capacity() + m_window.capacity(); }

private:
    bool samePiece(const char *piece, std::size_t size, std::uint64_t at) const;

    const SubstringFinder &m_finder;
    std::string_view m_callSign;
    LineEndSearch m_lineEnds;
    std::uint64_t m_start = 0;
    std::uint64_t m_length = 0;
    std::uint64_t m_callAt = npos;  // where the call sign first begins, in the log
    char m_head[headSize] = {};
    std::size_t m_headLength = 0;
    std::string m_tail;    // the line's last bytes, while the call is not yet found
    std::string m_window;  // the tail and the first bytes of the next piece
};
