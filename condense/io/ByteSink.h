// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

// Where the condensed log's bytes go.
class ByteSink
{
public:
    virtual ~ByteSink() = default;

    // Writes all `size` bytes or throws FileError.
    virtual void write(const char *data, std::size_t size) = 0;
};
