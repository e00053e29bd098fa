// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BackgroundFlush.h"
#include "FileIdentity.h"
#include "OutputFile.h"

#include <cstdint>
#include <optional>
#include <string>

// A condensed log written to a new file in its folder and put in place under
// its name by commit(), as a careful editor saves:
//
// - The name is never written through: a name that is a link (on Windows
//   also a junction or other reparse point), a folder or anything else but an
//   ordinary file is refused (FileRefusals) when the save is created, and
//   the last step replaces the name itself, never what a link points to.
// - The new file is made when the save is created, so that a name the system
//   cannot hold or a folder that refuses it fails at once. Where the file
//   system has unnamed temporary files it is one; elsewhere it has a short
//   name (see SaveTemporaryName), and leftovers of ended runs are removed.
// - commit() flushes the file to disk, closes it, renames it into place and
//   flushes the folder; every step is checked. Destroyed uncommitted, or
//   after a failure before the rename, the new file is removed and an earlier
//   file of the name stays as it was.
// - The new file is private (0600 on POSIX systems) until commit() gives it
//   its final bits: an earlier file's (its owner and group too when run as
//   root), or those the umask gives a new file. Being a new file, it does not
//   keep the earlier one's other hard links.
// - On Linux, while the file is written, the system is asked to start
//   writing it to disk, and it is flushed on another thread, a few megabytes
//   at a time; a failure of such a flush fails the save as its last one
//   would. Elsewhere the one flush in commit() writes it all.
//
// The path is the system's own bytes on POSIX systems and UTF-8 on Windows.
// Every failure throws FileError with the path and the system's reason.
class SaveFileOutput : public OutputFile
{
public:
    explicit SaveFileOutput(const std::string &path);
    ~SaveFileOutput() override;
    SaveFileOutput(const SaveFileOutput &) = delete;
    SaveFileOutput &operator=(const SaveFileOutput &) = delete;

    void write(const char *data, std::size_t size) override;
    void refuseIfReplacing(const ByteSource &log) override;
    void commit() override;

private:
    // What the save keeps of the file it replaces.
    struct Earlier
    {
        FileIdentity identity;
        unsigned mode = 0;  // permission bits; on Windows the file's attributes
        unsigned owner = 0;
        unsigned group = 0;
    };

    [[noreturn]] void fail(const std::string &reason) const;
    void inspectEarlier();
    void removeLeftovers();
    void create();
    void startWriteBack();  // on Linux
    void giveFinalMode();
    void putInPlace();
    void discard();

    std::string m_path;
    std::string m_name;           // the output's name in its folder
    std::string m_temporaryName;  // empty while the new file has no name
    std::optional<Earlier> m_earlier;
#ifdef _WIN32
    std::wstring m_folderPath;
    void *m_file;  // HANDLE
#else
    int m_folder = -1;
    int m_file = -1;
    int m_hold = -1;  // the same open file: keeps it, and its lock, after the checked close
    std::uint64_t m_written = 0;
    std::uint64_t m_writeBackStart = 0;  // where the system was last asked to start writing
    std::optional<BackgroundFlush> m_flush;  // of m_file, once it has grown a step
#endif
};
