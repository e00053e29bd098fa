// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteSink.h"
#include "ByteSource.h"
#include "FileError.h"

#include <algorithm>
#include <cstring>
#include <string>

// A log held in memory, handed out at most `maxChunk` bytes per read.
class StringSource : public ByteSource
{
public:
    explicit StringSource(std::string data, std::size_t maxChunk = std::string::npos)
        : m_data(std::move(data)), m_maxChunk(maxChunk) {}

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
