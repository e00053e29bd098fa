// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteSink.h"
#include "ByteSource.h"
#include "FileError.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <string>

// A log held in memory, handed out at most `maxChunk` bytes per read. Like a
// pipe, it cannot be read again by position unless made `Positioned`, as an
// ordinary file can, or `Mapped`, as an ordinary file whose windows are seen
// in place.
class StringSource : public ByteSource
{
public:
    enum Reading { Streamed, Positioned, Mapped };

    explicit StringSource(std::string data, std::size_t maxChunk = std::string::npos, Reading reading = Streamed)
        : m_data(std::move(data)), m_maxChunk(maxChunk), m_positioned(reading != Streamed),
          m_mapped(reading == Mapped) {}

    bool readsAtPositions() const override { return m_positioned; }
    bool mapsWindows() const override { return m_mapped; }

    Window mapWindow(std::uint64_t offset, std::size_t size) override
    {
        if (offset >= m_data.size())
            return {};
        ++m_openWindows;
        const std::size_t n = std::min<std::size_t>(size, m_data.size() - offset);
        // A window that reaches past failAfter() is lost, as one of a file cut short there.
        const int lost = m_failAfter != std::string::npos && offset + n > m_failAfter ? 1 : 0;
        return {m_data.data() + offset, n, lost};
    }

    bool releaseWindow(const Window &window) override { return window.handle == 0; }
    void unmapWindow(const Window &) override { --m_openWindows; }

    // Windows mapped and not yet given back.
    int openWindows() const { return m_openWindows; }

    std::size_t readAt(std::uint64_t offset, char *buffer, std::size_t capacity) override
    {
        if (m_change) {
            m_change(m_data);
            m_change = nullptr;
        }
        if (offset >= m_data.size())
            return 0;
        const std::size_t n = std::min<std::size_t>(capacity, m_data.size() - offset);
        std::memcpy(buffer, m_data.data() + offset, n);
        return n;
    }

    // Changes the log as another program might, just before it is first
    // read again by position.
    void changeBeforeRereading(std::function<void(std::string &)> change) { m_change = std::move(change); }

    std::size_t read(char *buffer, std::size_t capacity) override
    {
        const std::size_t n = std::min({capacity, m_maxChunk, m_data.size() - m_pos});
        std::memcpy(buffer, m_data.data() + m_pos, n);
        m_pos += n;
        if (m_failAfter != std::string::npos && m_pos > m_failAfter)
            throw FileError(FileError::Operation::Read, "memory", "injected read error");
        return n;
    }

    // Makes a read throw once more than `bytes` bytes have been handed out.
    void failAfter(std::size_t bytes) { m_failAfter = bytes; }

private:
    std::string m_data;
    std::size_t m_maxChunk;
    bool m_positioned;
    bool m_mapped;
    std::atomic<int> m_openWindows{0};  // mapped on the reading thread, given back on the scan's
    std::function<void(std::string &)> m_change;
    std::size_t m_pos = 0;
    std::size_t m_failAfter = std::string::npos;
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
