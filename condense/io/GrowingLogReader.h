// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteSource.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

// Reads a decoder log from its start to its end, one piece after another,
// by position. The decoder may go on appending lines meanwhile, which is
// harmless: they are read as they come. Any other change would make the
// condensed log a mix of two logs, or of a log and nothing. It is looked for
// in what the reading itself sees and in what the system tells of the log at
// the start and at the end; what is found throws FileError
// (FileError::changedDuringRun, or FileError::movedDuringRun where the log's
// name no longer leads to the file read):
//
// - cut short: the end comes before the size the log had when reading began,
//   or the log is shorter at the end than what was read;
// - emptied and written again, or rewritten: the bytes around a piece's
//   start, read again after it (the last ones of the piece before and its
//   own first ones), are no longer the same. A change made before a piece
//   was read shows in the bytes before it, one made while it was read in
//   its first bytes, one made after it in the next piece's check;
// - moved, removed or replaced: at the end, the log's name leads to another
//   file, or to none;
// - written where it was read, or not yet read, without growing: at the end
//   the log holds as many bytes as at the start, but was written since
//   (its time of last writing is another), where the system tells it.
//
// A change made after the last look at the log, or one that keeps its size
// while lines are also appended or within one tick of the file system's
// clock, is beyond what the reading can see.
class GrowingLogReader
{
public:
    // How many bytes on either side of a piece's start are read again after it.
    static constexpr std::size_t checkedBytes = 64;

    // How long, at most, an append stamped with its time may take to make
    // the log grow, and how often the log is looked at meanwhile.
    static constexpr int appendLooks = 5;
    static constexpr std::chrono::milliseconds appendLookPause{10};

    explicit GrowingLogReader(ByteSource &source);

    // Reads the next bytes of the log into buffer[0, capacity) and returns
    // how many: fewer than `capacity` only at the log's end. The reading ends
    // with a read that returns 0, and that read checks the end.
    std::size_t read(char *buffer, std::size_t capacity);

private:
    void checkAroundStart(const char *piece, std::size_t size);
    void checkEnd() const;
    bool writtenWithoutGrowing(const std::optional<ByteSource::State> &now) const;
    void keepLastBytes(const char *data, std::size_t size);

    ByteSource &m_source;
    std::optional<ByteSource::State> m_start;
    std::uint64_t m_position = 0;
    char m_last[checkedBytes] = {};
    std::size_t m_lastSize = 0;
};
