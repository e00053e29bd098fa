// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteSink.h"
#include "ByteSource.h"
#include "FileError.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

// A log held in memory, handed out at most `maxChunk` bytes per read. Like a
// pipe, it cannot be read again by position unless made `Positioned`, as an
// ordinary file can.
class StringSource : public ByteSource
{
public:
    enum Reading { Streamed, Positioned };

    explicit StringSource(std::string data, std::size_t maxChunk = std::string::npos, Reading reading = Streamed)
        : m_data(std::move(data)), m_maxChunk(maxChunk), m_positioned(reading == Positioned) {}

    bool readsAtPositions() const override { return m_positioned; }

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
