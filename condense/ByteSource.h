// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileIdentity.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// Where the log's bytes come from.
class ByteSource
{
public:
    virtual ~ByteSource() = default;

    // Reads up to `capacity` bytes into `buffer` and returns how many were
    // read; 0 means the end of the input. Throws FileError when reading fails.
    virtual std::size_t read(char *buffer, std::size_t capacity) = 0;

    // Whether readAt() works (an ordinary file can be read again by position;
    // a pipe or a buffer cannot).
    virtual bool readsAtPositions() const { return false; }

    // Reads up to `capacity` bytes that begin `offset` bytes into the input,
    // as the input holds them now, without moving where read() goes on.
    // Returns how many were read: fewer than asked only at the input's end.
    // Throws FileError when reading fails. Only called when
    // readsAtPositions() is true.
    virtual std::size_t readAt(std::uint64_t offset, char *buffer, std::size_t capacity)
    {
        (void)offset; (void)buffer; (void)capacity;
        return 0;
    }

    // A view of the input's bytes where the system keeps them, in place of a
    // copy of them.
    struct Window
    {
        const char *data = nullptr;
        std::size_t size = 0;  // fewer than asked for only at the input's end
        int handle = -1;       // the source's own
    };

    // Whether mapWindow() works. Only a source that readsAtPositions() does.
    virtual bool mapsWindows() const { return false; }

    // A view of up to `size` bytes that begin `offset` bytes into the input,
    // as long as the input holds them now; size 0 at its end. Throws
    // FileError when the system refuses. Only called when mapsWindows() is
    // true; every window is released, then given back with unmapWindow().
    virtual Window mapWindow(std::uint64_t offset, std::size_t size)
    {
        (void)offset; (void)size;
        return {};
    }

    // Says a window is looked at no more. Returns false when the input was
    // cut short while the window was open: the bytes it lost read as zeros,
    // so what was made of them is not the log.
    virtual bool releaseWindow(const Window &window)
    {
        (void)window;
        return true;
    }

    // Gives a released window back, on any thread.
    virtual void unmapWindow(const Window &window) { (void)window; }

    // Which file this is, where the input is an open file.
    virtual std::optional<FileIdentity> identity() const { return std::nullopt; }

    // How many bytes the open file holds now, where the input is one.
    virtual std::optional<std::uint64_t> size() const { return std::nullopt; }
};
