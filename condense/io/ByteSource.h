// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileIdentity.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// Where the log's bytes come from: an ordinary file, read by position as the
// system holds it at the moment of each read.
class ByteSource
{
public:
    virtual ~ByteSource() = default;

    // Reads up to `capacity` bytes that begin `offset` bytes into the input.
    // Returns how many were read: fewer than asked only at the input's end.
    // Throws FileError when reading fails.
    virtual std::size_t readAt(std::uint64_t offset, char *buffer, std::size_t capacity) = 0;

    // Which file this is, where the input is an open file.
    virtual std::optional<FileIdentity> identity() const { return std::nullopt; }

    // What one look at the open file tells of it.
    struct State
    {
        std::uint64_t size = 0;
        // When it was last written, in the system's own units, only ever
        // compared with another look's; none where the system cannot say.
        std::optional<std::int64_t> modified;
    };

    // The open file as it is now, where the input is one.
    virtual std::optional<State> state() const { return std::nullopt; }

    // How many bytes the open file holds now, where the input is one.
    std::optional<std::uint64_t> size() const
    {
        const std::optional<State> now = state();
        return now ? std::optional(now->size) : std::nullopt;
    }

    // Whether the name the input was opened by still leads to the file being
    // read, and not to another put in its place since.
    virtual bool stillNamed() const { return true; }
};
