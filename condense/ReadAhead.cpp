// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReadAhead.h"

#include "ByteSource.h"
#include "FileError.h"
#include "RunCancelled.h"
#include "RunProgress.h"

#include <algorithm>

ReadAhead::ReadAhead(ByteSource &source, std::size_t chunkSize, std::size_t headroom,
                     const RunProgress *progress, Reading reading)
    : m_source(source)
    , m_progress(progress)
    , m_chunkSize(chunkSize)
    , m_headroom(PageAlignedBuffer::wholePages(headroom))
    , m_mapped(reading == Reading::Ahead && source.mapsWindows())
{
    if (m_mapped) {
        m_buffers[0] = PageAlignedBuffer(m_headroom);
    } else {
        for (std::uint64_t index = 0; index < bufferCount; ++index) {
            m_buffers[index] = PageAlignedBuffer(m_headroom + chunkSize);
            m_data[index] = dataOf(index);
        }
    }
    if (reading == Reading::Ahead)
        m_reader = std::thread(&ReadAhead::readAll, this);
}

ReadAhead::~ReadAhead()
{
    m_ring.stop();
    if (m_reader.joinable())
        m_reader.join();
    for (std::uint64_t index = 0; index < bufferCount; ++index) {
        release(index);
        unmap(index);
    }
}

void ReadAhead::stopIfCancelled() const
{
    if (m_progress != nullptr && m_progress->cancelled())
        throw RunCancelled();
}

std::size_t ReadAhead::readOne(std::uint64_t index, std::size_t offset)
{
    stopIfCancelled();
    return m_source.read(dataOf(index) + offset, m_chunkSize - offset);
}

// Reads until the buffer is full or the input ends.
std::size_t ReadAhead::fill(std::uint64_t index, bool &atEnd)
{
    std::size_t got = 0;
    while (got < m_chunkSize && !atEnd) {
        const std::size_t more = readOne(index, got);
        got += more;
        atEnd = more == 0;
    }
    return got;
}

// Maps the next piece with up to m_headroom bytes of the input in front.
std::size_t ReadAhead::mapOne(std::uint64_t index)
{
    stopIfCancelled();
    const std::uint64_t begin = m_mappedTo - std::min<std::uint64_t>(m_mappedTo, m_headroom);
    const auto front = static_cast<std::size_t>(m_mappedTo - begin);
    unmap(index);  // the window of the piece the slot held before, released by the scan
    const ByteSource::Window window = m_source.mapWindow(begin, front + m_chunkSize);
    ByteSource::Window &slot = m_windows[index % bufferCount];
    slot = window;
    if (window.size <= front)
        return 0;  // the end (or a log cut shorter than what was read)
    m_data[index % bufferCount] = const_cast<char *>(window.data) + front;
    m_mappedTo += window.size - front;
    return window.size - front;
}

// Ends the scan's look at the piece's window; false when the log was cut
// short under it.
bool ReadAhead::release(std::uint64_t index)
{
    ByteSource::Window &slot = m_windows[index % bufferCount];
    if (slot.handle < 0)
        return true;
    const bool intact = m_source.releaseWindow(slot);
    slot.handle = -1;
    return intact;
}

// Gives the released window of the piece's slot back.
void ReadAhead::unmap(std::uint64_t index)
{
    ByteSource::Window &slot = m_windows[index % bufferCount];
    if (slot.data != nullptr)
        m_source.unmapWindow(slot);
    slot = {};
}

void ReadAhead::readAll()
{
    bool atEnd = false;
    for (std::uint64_t index = 0; m_ring.waitToFill(index); ++index) {
        std::size_t got = 0;
        std::exception_ptr failure;
        try {
            got = m_mapped ? mapOne(index) : fill(index, atEnd);
        } catch (...) {
            failure = std::current_exception();
        }
        // What was read before a failure is handed on first.
        if (got > 0 || !failure) {
            m_sizes[index % bufferCount] = got;
            m_ring.filled(index + 1);
        }
        if (failure)
            m_ring.fail(failure);
        if (failure || got == 0)
            return;
    }
}

ReadAhead::Chunk ReadAhead::next()
{
    if (!m_reader.joinable()) {
        const std::uint64_t index = m_taken++;
        return {dataOf(index), readOne(index)};
    }
    // On this thread, so that a piece of a log cut short fails the scan.
    if (m_mapped && m_taken > m_released && !release(m_taken - 1))
        throw FileError(FileError::Operation::Read, std::string(), FileError::changedDuringRun);
    if (m_taken > m_released) {
        m_released = m_taken;
        m_ring.emptied(m_released);
    }
    if (!m_ring.waitToEmpty(m_taken))
        m_ring.rethrowFailure();
    const std::uint64_t index = m_taken++;
    const std::size_t size = m_sizes[index % bufferCount];
    if (m_mapped && size == 0)
        return {dataOf(0), 0, false};  // room for the last line, at the end
    return {m_data[index % bufferCount], size, m_mapped};
}
