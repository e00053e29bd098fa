// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BufferRing.h"
#include "GrowingLogReader.h"
#include "PageAlignedBuffer.h"

#include <cstddef>
#include <cstdint>
#include <thread>

class ByteSource;
class RunProgress;

// Reads a log (GrowingLogReader) on a thread of its own, a few buffers ahead
// of the one being scanned, so that the system's copying of the file overlaps
// the scan.
//
// Made with Reading::OnDemand it starts no thread and reads each buffer when
// it is asked for, into the same buffers and with the same room in front.
// Only the tests read that way: they condense logs thousands of times, in
// reads from one byte up, where a thread for each condensing and a hand-over
// for each read would make the suite much slower. The program's run always
// reads ahead, a megabyte at a time. Which of the two next() does is chosen
// once, when the object is made.
//
// Each buffer keeps `headroom` bytes free in front of its data (rounded up to
// whole pages, so that the data begins on a page); the caller may put the end
// of the previous buffer there, so that a line that runs across two reads
// lies in one piece without moving the new data.
class ReadAhead
{
public:
    struct Chunk
    {
        char *data;        // data - headroom .. data + size may be written
        std::size_t size;  // 0 at the end of the input
    };

    enum class Reading { Ahead, OnDemand };

    // When `progress` asks for a stop, reading ends before the next read and
    // next() throws RunCancelled.
    ReadAhead(ByteSource &source, std::size_t chunkSize, std::size_t headroom,
              const RunProgress *progress = nullptr, Reading reading = Reading::Ahead);
    ~ReadAhead();

    ReadAhead(const ReadAhead &) = delete;
    ReadAhead &operator=(const ReadAhead &) = delete;

    // The next piece of the input; the piece returned before is handed back
    // for reading. Rethrows what reading threw, once the pieces read before
    // the failure have been taken.
    Chunk next() { return (this->*m_next)(); }

    std::size_t heldBytes() const { return bufferCount * (m_headroom + m_chunkSize); }

private:
    static constexpr std::size_t bufferCount = 4;

    Chunk nextReadAhead();
    Chunk nextOnDemand();
    void readAll();
    std::size_t readOne(std::uint64_t index);
    char *dataOf(std::uint64_t index) { return m_buffers[index % bufferCount].get() + m_headroom; }

    GrowingLogReader m_log;
    const RunProgress *m_progress;
    std::size_t m_chunkSize;
    std::size_t m_headroom;
    PageAlignedBuffer m_buffers[bufferCount];
    std::size_t m_sizes[bufferCount] = {};
    std::uint64_t m_taken = 0;     // buffers handed to the caller
    std::uint64_t m_released = 0;  // buffers the caller has finished with
    BufferRing m_ring{bufferCount};
    Chunk (ReadAhead::*m_next)();
    std::thread m_reader;  // none when reading on demand
};
