// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteSink.h"
#include "ByteSource.h"
#include "FileError.h"
#include "GrowingLogReader.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

// A log held in memory, read by position as an ordinary file is. It can be
// changed as another program might change a file while it is read.
class StringSource : public ByteSource
{
public:
    explicit StringSource(std::string data)
        : m_data(std::move(data)) {}

    // Called from the reading thread and, to copy a long line, from the scan's.
    std::size_t readAt(std::uint64_t offset, char *buffer, std::size_t capacity) override
    {
        const std::lock_guard lock(m_mutex);
        // Read again: further back than the bytes before the last piece, which
        // are checked anew after each piece.
        if (offset >= m_readTo)
            m_pieceStart = offset;
        if (m_change && offset + GrowingLogReader::checkedBytes < m_pieceStart) {
            written(m_change);
            m_change = nullptr;
        }
        if (m_failAfter != std::string::npos && offset + capacity > m_failAfter)
            throw FileError(FileError::Operation::Read, "memory", "injected read error");
        // A read across the change is copied in two, as the system may copy
        // a read while a writer passes it.
        std::size_t n = 0;
        if (m_changeLater && offset < m_changeAt && m_changeAt < offset + copied(offset, capacity))
            n = copy(offset, buffer, static_cast<std::size_t>(m_changeAt - offset));
        if (m_changeLater && std::max(m_readTo, offset + n) >= std::min<std::uint64_t>(m_changeAt, m_data.size())) {
            written(m_changeLater);
            m_changeLater = nullptr;
        }
        n += copy(offset + n, buffer + n, copied(offset + n, capacity - n));
        m_readTo = std::max<std::uint64_t>(m_readTo, offset + n);
        return n;
    }

    // Each change is a write, which the system stamps with its time.
    std::optional<State> state() const override
    {
        const std::lock_guard lock(m_mutex);
        const State now{m_data.size(), m_timed ? std::optional(m_modified) : std::nullopt};
        m_data += m_landing;
        m_landing.clear();
        return now;
    }
    bool stillNamed() const override
    {
        const std::lock_guard lock(m_mutex);
        return !m_replaced;
    }

    // Changes the log just before it is first read again by position
    // further back than the last bytes read.
    void changeBeforeRereading(std::function<void(std::string &)> change) { m_change = std::move(change); }

    // Changes the log once `bytes` bytes of it have been read, or all of it;
    // a read across `bytes` is copied in two, before and after the change.
    void changeAfterReading(std::size_t bytes, std::function<void(std::string &)> change)
    {
        m_changeAt = bytes;
        m_changeLater = std::move(change);
    }

    // Leaves the time of writing untold, as a system may.
    void tellNoTime() { m_timed = false; }

    // Appends `lines` as the system does: the write is stamped with its time
    // at once, and the lines land in the log a moment later, after the next
    // look at it. Called from a change.
    void stampBeforeWriting(std::string lines)
    {
        ++m_modified;
        m_landing = std::move(lines);
    }

    // Puts another file in the log's place, under its name; called from a change.
    void replace() { m_replaced = true; }

    // Makes a read throw once it reaches past `bytes` bytes into the log.
    void failAfter(std::size_t bytes) { m_failAfter = bytes; }

private:
    void written(const std::function<void(std::string &)> &change)
    {
        const std::string before = m_data;
        change(m_data);
        if (m_data != before)
            ++m_modified;
    }
    std::size_t copied(std::uint64_t offset, std::size_t capacity) const
    {
        return offset >= m_data.size() ? 0 : std::min(capacity, m_data.size() - static_cast<std::size_t>(offset));
    }
    std::size_t copy(std::uint64_t offset, char *buffer, std::size_t size) const
    {
        if (size != 0)
            std::memcpy(buffer, m_data.data() + offset, size);
        return size;
    }

    mutable std::string m_data;      // grows in a look at it when lines land there
    mutable std::string m_landing;   // lines stamped, still to land
    std::int64_t m_modified = 0;
    bool m_timed = true;
    std::function<void(std::string &)> m_change;
    std::function<void(std::string &)> m_changeLater;
    std::uint64_t m_changeAt = 0;
    std::uint64_t m_readTo = 0;      // the furthest byte read so far
    std::uint64_t m_pieceStart = 0;  // where the last read past it began
    bool m_replaced = false;
    std::size_t m_failAfter = std::string::npos;
    mutable std::mutex m_mutex;
};

// Collects the condensed log; can be told to fail once it holds enough bytes.
class StringSink : public ByteSink
{
public:
    void write(const char *data, std::size_t size) override
    {
        if (m_failAfter != std::string::npos && text.size() + size > m_failAfter)
            throw FileError(FileError::Operation::Write, "memory", "injected write error");
        text.append(data, size);
    }

    void failAfter(std::size_t bytes) { m_failAfter = bytes; }

    std::string text;

private:
    std::size_t m_failAfter = std::string::npos;
};
