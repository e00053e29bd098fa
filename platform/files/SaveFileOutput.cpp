// SPDX-License-Identifier: GPL-3.0-or-later
// The save's parts that are the same everywhere; each system's own are in
// SaveFileOutput_unix.cpp and SaveFileOutput_win.cpp.
#include "SaveFileOutput.h"

#include "ByteSource.h"
#include "FileError.h"
#include "FileRefusals.h"

void SaveFileOutput::fail(const std::string &reason) const
{
    throw FileError(FileError::Operation::Write, m_path, reason);
}

void SaveFileOutput::refuseIfReplacing(const ByteSource &log)
{
    const std::optional<FileIdentity> identity = log.identity();
    if (m_earlier && identity && *identity == m_earlier->identity)
        fail(FileRefusals::outputLeadsToLog);
}
