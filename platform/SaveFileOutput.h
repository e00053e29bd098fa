// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OutputFile.h"

#include <QSaveFile>

#include <string>

// A condensed log written to a temporary file in its folder and renamed into
// place by commit(). Destroyed uncommitted, the temporary file is removed and
// an earlier file of the same name stays as it was. While it is written, the
// system is asked to start writing it to disk, a few megabytes at a time.
class SaveFileOutput : public OutputFile
{
public:
    // Throws FileError when the temporary file cannot be created.
    explicit SaveFileOutput(const std::string &path);

    void write(const char *data, std::size_t size) override;
    void commit() override;

private:
    void startWriteBack();
    [[noreturn]] void fail();

    // The folder, held open where its name is not valid text (Linux); it
    // stays open until the file is done with.
    struct Folder
    {
        int descriptor = -1;
        ~Folder();
    };

    std::string m_path;
    Folder m_folder;
    QSaveFile m_file;
    qint64 m_written = 0;
    qint64 m_writeBackStart = 0;
};
