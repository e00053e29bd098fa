// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

// Where the log's bytes come from.
class ByteSource
{
public:
    virtual ~ByteSource() = default;

    // Reads up to `capacity` bytes into `buffer` and returns how many were
    // read; 0 means the end of the input. Throws FileError when reading fails.
    virtual std::size_t read(char *buffer, std::size_t capacity) = 0;
};
