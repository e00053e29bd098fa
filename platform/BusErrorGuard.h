// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// Keeps a file's mapped windows from ending the program when the file is cut
// short under them. Touching a mapped page that the file no longer has raises
// SIGBUS; for a watched window the handler puts zeros in the window's place,
// so the touch goes on, and marks the window lost, so that whoever reads it
// learns that what it read is not the file. A SIGBUS anywhere else is left to
// the handler that was there before, or to the system.
class BusErrorGuard
{
public:
    // Starts watching [begin, begin + length), mapped by the caller from
    // `file` up to its offset `fileEnd`, from the start of a page. Returns
    // the watch, or -1 when too many windows are watched already.
    static int watch(void *begin, std::size_t length, int file, std::uint64_t fileEnd);

    // Ends a watch; true unless the window was lost. The window is still
    // mapped (with zeros where it was lost), for the caller to unmap.
    static bool release(int watch);
};
