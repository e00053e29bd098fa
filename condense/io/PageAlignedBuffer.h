// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <memory>
#include <new>

// A buffer that begins on a page boundary. The system copies a file's pages
// into a buffer several times faster when both lie alike within a cache
// line (on some processors five times), so every buffer that reads or writes
// go through starts on a page, and data inside one starts at a whole number
// of pages from its start.
class PageAlignedBuffer
{
public:
    static constexpr std::size_t pageSize = 4096;

    // `size` rounded up to whole pages.
    static constexpr std::size_t wholePages(std::size_t size) { return (size + pageSize - 1) / pageSize * pageSize; }

    PageAlignedBuffer() = default;
    explicit PageAlignedBuffer(std::size_t size)
        : m_bytes(static_cast<char *>(::operator new[](size, std::align_val_t{pageSize})))
    {
    }

    char *get() const { return m_bytes.get(); }

private:
    struct Free
    {
        void operator()(char *bytes) const { ::operator delete[](bytes, std::align_val_t{pageSize}); }
    };
    std::unique_ptr<char[], Free> m_bytes;
};
