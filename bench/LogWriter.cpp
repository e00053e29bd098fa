// SPDX-License-Identifier: GPL-3.0-or-later
#include "LogWriter.h"

#include <cstdio>

bool LogWriter::write(const std::string &path, std::uint64_t bytes)
{
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    std::string block;
    std::uint64_t written = 0;
    for (unsigned period = 0; written < bytes; ++period) {
        appendPeriod(block, period);
        if (block.size() >= (1u << 20)) {
            if (std::fwrite(block.data(), 1, block.size(), file) != block.size())
                break;
            written += block.size();
            block.clear();
        }
    }
    if (!block.empty() && std::fwrite(block.data(), 1, block.size(), file) == block.size())
        written += block.size();
    return std::fclose(file) == 0 && written >= bytes;
}

unsigned LogWriter::random()
{
    m_random = m_random * 1103515245u + 12345u;
    return m_random >> 8;
}
