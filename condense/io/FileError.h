// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

// A file operation that failed: which file, and the system's reason.
class FileError : public std::runtime_error
{
public:
    // FlushFolder: the condensed log is in place, but its folder could not
    // be written to disk, so after a power failure the new name may be lost.
    enum class Operation { Read, Write, FlushFolder };

    // Why a run ends when the log changed under it otherwise than by lines
    // appended (cut short, emptied, rewritten; see GrowingLogReader and
    // LongLine), and when its name no longer leads to the file read. Thrown
    // without a path by the core, which knows the log only as its bytes; the
    // run names the log.
    static constexpr const char *changedDuringRun =
        "The log file changed while it was being condensed: a line read earlier "
        "is no longer there as it was.";
    static constexpr const char *movedDuringRun =
        "The log file was moved, removed or replaced while it was being condensed.";

    FileError(Operation operation, std::string path, std::string reason)
        : std::runtime_error(path + ": " + reason)
        , m_operation(operation)
        , m_path(std::move(path))
        , m_reason(std::move(reason))
    {
    }

    Operation operation() const { return m_operation; }
    const std::string &path() const { return m_path; }
    const std::string &reason() const { return m_reason; }

private:
    Operation m_operation;
    std::string m_path;
    std::string m_reason;
};
