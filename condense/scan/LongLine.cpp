// SPDX-License-Identifier: GPL-3.0-or-later
#include "LongLine.h"

#include "ByteSource.h"
#include "FileError.h"
#include "RunCancelled.h"
#include "RunProgress.h"
#include "OutputBatch.h"

#include <algorithm>
#include <cstring>

LongLine::LongLine(const SubstringFinder &finder, std::string_view callSign)
    : m_finder(finder)
    , m_callSign(callSign)
{
    const std::size_t keep = callSign.empty() ? 0 : callSign.size() - 1;
    m_tail.reserve(keep);
    m_window.reserve(2 * keep);
}

void LongLine::begin(std::uint64_t offset)
{
    m_start = offset;
    m_length = 0;
    m_headLength = 0;
    m_tail.clear();
    // An empty call sign is in every line, an empty one too.
    m_callAt = m_callSign.empty() ? offset : npos;
}

void LongLine::extend(const char *data, std::size_t size)
{
    const std::size_t toHead = std::min(headSize - m_headLength, size);
    std::memcpy(m_head + m_headLength, data, toHead);
    m_headLength += toHead;

    if (m_callAt == npos) {
        const std::size_t keep = m_callSign.size() - 1;
        if (!m_tail.empty()) {
            // An occurrence that begins in the bytes before and ends in these.
            m_window.assign(m_tail);
            m_window.append(data, std::min(size, keep));
            const std::size_t at = m_finder.find(m_window.data(), m_window.size(), 0);
            if (at != SubstringFinder::npos)
                m_callAt = m_start + m_length - m_tail.size() + at;
        }
        if (m_callAt == npos) {
            const std::size_t at = m_finder.find(data, size, 0);
            if (at != SubstringFinder::npos)
                m_callAt = m_start + m_length + at;
        }
        if (m_callAt == npos && keep > 0) {
            if (size >= keep) {
                m_tail.assign(data + size - keep, keep);
            } else {
                m_tail.append(data, size);
                if (m_tail.size() > keep)
                    m_tail.erase(0, m_tail.size() - keep);
            }
        }
    }
    m_length += size;
}

void LongLine::copy(ByteSource &source, OutputBatch &output, const RunProgress *progress) const
{
    for (std::uint64_t done = 0; done < m_length;) {
        if (progress != nullptr && progress->cancelled())
            throw RunCancelled();
        char *piece = output.batch();
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(output.batchSize(), m_length - done));
        const std::size_t got = source.readAt(m_start + done, piece, wanted);
        if (got != wanted || !samePiece(piece, got, m_start + done))
            throw FileError(FileError::Operation::Read, std::string(), FileError::changedDuringRun);
        output.hand(got);
        done += got;
    }
}

// Whether piece[0, size), read again from `at` in the log, still belongs to
// the line as it was classified: no line end in it, and the same bytes
// where the marker tests and the call sign looked.
bool LongLine::samePiece(const char *piece, std::size_t size, std::uint64_t at) const
{
    if (m_lineEnds.next(piece, 0, size) != size)
        return false;
    const auto sameAs = [&](std::uint64_t from, std::string_view bytes) {
        const std::uint64_t first = std::max(from, at);
        const std::uint64_t last = std::min(from + bytes.size(), at + size);
        return first >= last
            || std::memcmp(piece + (first - at), bytes.data() + (first - from), static_cast<std::size_t>(last - first)) == 0;
    };
    return sameAs(m_start, head()) && (m_callAt == npos || sameAs(m_callAt, m_callSign));
}
